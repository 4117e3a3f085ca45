#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures through libjpeg. Codec failures raise EConvertError with the text
// "JPEG-Fehler #%d" and the codec's message number; the process never exits. A
// picture larger than MaxPictureSide / MaxPicturePixels is refused from its header,
// before anything is allocated for it.
class TJPEGImage {
public:
    static constexpr int DefaultQuality = 90; // the class's default, used by the picture window
    int CompressionQuality = DefaultQuality;
    // Larger files are refused unread: a 128-megapixel photo at the highest quality
    // stays well below this.
    static constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

    void LoadFromData(const QByteArray& Data); // throws
    void LoadFromFile(const QString& Path);    // throws EInOutError or the JPEG error naming Path
    QByteArray SaveToData() const;             // throws
    void SaveToFile(const QString& Path) const;

    void Assign(const QImage& Image) { FImage = Image.convertToFormat(QImage::Format_RGB32); }
    const QImage& Image() const { return FImage; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool Empty() const { return FImage.isNull(); }

private:
    QImage FImage;
};
