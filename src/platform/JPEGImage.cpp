#include "JPEGImage.h"

#include "FileIO.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {
struct TJpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
    int Code;
};

void ErrorExit(j_common_ptr Info) {
    auto* Err = reinterpret_cast<TJpegError*>(Info->err);
    Err->Code = Err->Mgr.msg_code;
    std::longjmp(Err->Jump, 1);
}

void NoOutput(j_common_ptr) {}

[[noreturn]] void RaiseJpegError(int Code) {
    throw EConvertError(QStringLiteral("JPEG-Fehler #%1").arg(Code));
}

constexpr int TooLarge = -2;
constexpr int TooManyScans = -3;

// A progressive file may repeat its scans without end, each one over the whole picture.
constexpr int MaxScans = 1000;
// Whole-picture buffers of the codec (progressive files keep every coefficient).
constexpr long MaxCodecMemory = 1024L * 1024 * 1024;

void LimitScans(j_common_ptr Info) {
    auto* D = reinterpret_cast<j_decompress_ptr>(Info);
    if (D->input_scan_number > MaxScans) {
        auto* Err = reinterpret_cast<TJpegError*>(Info->err);
        Err->Code = TooManyScans;
        std::longjmp(Err->Jump, 1);
    }
}

// Decodes into Out; returns 0, TooLarge (Width and Height then hold the claimed
// size), TooManyScans or the codec's message number. Only plain data lives across
// setjmp here.
int Decode(const unsigned char* Data, unsigned long Size, QImage* Out, unsigned* Width, unsigned* Height) {
    jpeg_decompress_struct Info;
    TJpegError Err;
    jpeg_progress_mgr Progress;
    Info.err = jpeg_std_error(&Err.Mgr);
    Err.Mgr.error_exit = ErrorExit;
    Err.Mgr.output_message = NoOutput;
    Err.Code = 0;
    if (setjmp(Err.Jump)) {
        jpeg_destroy_decompress(&Info);
        return Err.Code ? Err.Code : -1;
    }
    jpeg_create_decompress(&Info);
    Info.mem->max_memory_to_use = MaxCodecMemory;
    Progress.progress_monitor = LimitScans;
    Info.progress = &Progress;
    jpeg_mem_src(&Info, Data, Size);
    jpeg_read_header(&Info, TRUE);
    // The header's claim is checked before the codec or we allocate anything for it.
    *Width = Info.image_width;
    *Height = Info.image_height;
    if (Info.image_width > unsigned(MaxPictureSide) || Info.image_height > unsigned(MaxPictureSide) ||
        qint64(Info.image_width) * Info.image_height > MaxPicturePixels) {
        jpeg_destroy_decompress(&Info);
        return TooLarge;
    }
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    if (Info.output_width == 0 || Info.output_height == 0 || Info.output_width > unsigned(MaxPictureSide) ||
        Info.output_height > unsigned(MaxPictureSide) || Info.output_components != 3) {
        jpeg_destroy_decompress(&Info);
        return JERR_EMPTY_IMAGE;
    }
    *Out = QImage(int(Info.output_width), int(Info.output_height), QImage::Format_RGB32);
    if (Out->isNull()) {
        jpeg_destroy_decompress(&Info);
        return JERR_OUT_OF_MEMORY;
    }
    static thread_local std::vector<unsigned char> Row;
    Row.resize(size_t(Info.output_width) * 3);
    while (Info.output_scanline < Info.output_height) {
        unsigned char* RowPtr = Row.data();
        int Y = int(Info.output_scanline);
        jpeg_read_scanlines(&Info, &RowPtr, 1);
        auto* Dst = reinterpret_cast<QRgb*>(Out->scanLine(Y));
        for (unsigned X = 0; X < Info.output_width; ++X)
            Dst[X] = qRgb(RowPtr[3 * X], RowPtr[3 * X + 1], RowPtr[3 * X + 2]);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    return 0;
}

int Encode(const QImage* Image, int Quality, unsigned char** OutData, unsigned long* OutSize) {
    jpeg_compress_struct Info;
    TJpegError Err;
    Info.err = jpeg_std_error(&Err.Mgr);
    Err.Mgr.error_exit = ErrorExit;
    Err.Mgr.output_message = NoOutput;
    Err.Code = 0;
    if (setjmp(Err.Jump)) {
        jpeg_destroy_compress(&Info);
        return Err.Code ? Err.Code : -1;
    }
    jpeg_create_compress(&Info);
    jpeg_mem_dest(&Info, OutData, OutSize);
    Info.image_width = JDIMENSION(Image->width());
    Info.image_height = JDIMENSION(Image->height());
    Info.input_components = 3;
    Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Quality, TRUE);
    jpeg_start_compress(&Info, TRUE);
    static thread_local std::vector<unsigned char> Row;
    Row.resize(size_t(Image->width()) * 3);
    while (Info.next_scanline < Info.image_height) {
        const auto* Src = reinterpret_cast<const QRgb*>(Image->constScanLine(int(Info.next_scanline)));
        for (int X = 0; X < Image->width(); ++X) {
            Row[3 * X] = qRed(Src[X]);
            Row[3 * X + 1] = qGreen(Src[X]);
            Row[3 * X + 2] = qBlue(Src[X]);
        }
        unsigned char* RowPtr = Row.data();
        jpeg_write_scanlines(&Info, &RowPtr, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    return 0;
}
} // namespace

void TJPEGImage::LoadFromData(const QByteArray& Data) {
    QImage Decoded;
    unsigned Width = 0, Height = 0;
    const int Code = Decode(reinterpret_cast<const unsigned char*>(Data.constData()),
                            (unsigned long)Data.size(), &Decoded, &Width, &Height);
    if (Code == TooLarge)
        throw EConvertError(QStringLiteral("Bild zu groß: %1 x %2 Pixel (höchstens %3 Pixel je Seite "
                                           "und %4 Megapixel)")
                                .arg(Width)
                                .arg(Height)
                                .arg(MaxPictureSide)
                                .arg(MaxPicturePixels / (1024 * 1024)));
    if (Code == TooManyScans)
        throw EConvertError(QStringLiteral("JPEG-Fehler: mehr als %1 Scans").arg(MaxScans));
    if (Code != 0) RaiseJpegError(Code);
    FImage = Decoded;
}

namespace {
// Codec errors name the file they met, as the input/output errors do.
template <class F> void NamingFile(const QString& Path, F&& Work) {
    try {
        Work();
    } catch (const EConvertError& E) {
        throw EConvertError(WithFileName(E.Message(), Path));
    }
}
} // namespace

void TJPEGImage::LoadFromFile(const QString& Path) {
    const QByteArray Data = ReadWholeFile(Path, MaxFileSize);
    NamingFile(Path, [&] { LoadFromData(Data); });
}

QByteArray TJPEGImage::SaveToData() const {
    if (FImage.isNull()) RaiseJpegError(JERR_EMPTY_IMAGE);
    QImage Src = FImage.convertToFormat(QImage::Format_RGB32);
    unsigned char* Out = nullptr;
    unsigned long Size = 0;
    int Code = Encode(&Src, CompressionQuality, &Out, &Size);
    QByteArray Data;
    if (Code == 0) Data = QByteArray(reinterpret_cast<const char*>(Out), qsizetype(Size));
    free(Out);
    if (Code != 0) RaiseJpegError(Code);
    return Data;
}

void TJPEGImage::SaveToFile(const QString& Path) const {
    QByteArray Data;
    NamingFile(Path, [&] { Data = SaveToData(); });
    WriteWholeFile(Path, Data);
}
