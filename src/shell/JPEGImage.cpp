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

// Decodes into Out; returns 0 or the codec's message number. Only plain data
// lives across setjmp here.
int Decode(const unsigned char* Data, unsigned long Size, QImage* Out) {
    jpeg_decompress_struct Info;
    TJpegError Err;
    Info.err = jpeg_std_error(&Err.Mgr);
    Err.Mgr.error_exit = ErrorExit;
    Err.Mgr.output_message = NoOutput;
    Err.Code = 0;
    if (setjmp(Err.Jump)) {
        jpeg_destroy_decompress(&Info);
        return Err.Code ? Err.Code : -1;
    }
    jpeg_create_decompress(&Info);
    jpeg_mem_src(&Info, Data, Size);
    jpeg_read_header(&Info, TRUE);
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    if (Info.output_width == 0 || Info.output_height == 0 || Info.output_width > 65500 ||
        Info.output_height > 65500 || Info.output_components != 3) {
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
    int Code = Decode(reinterpret_cast<const unsigned char*>(Data.constData()), (unsigned long)Data.size(),
                      &Decoded);
    if (Code != 0) RaiseJpegError(Code);
    FImage = Decoded;
}

void TJPEGImage::LoadFromFile(const QString& Path) {
    LoadFromData(ReadWholeFile(Path));
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
    WriteWholeFile(Path, SaveToData());
}
