#pragma once
// The wireframe model of a Solid States object: up to 10000 points in space and up
// to 10000 straight lines between them. It reads the file, projects the points in
// perspective for an observer looking at a view point, clips the lines to the
// screen and draws points, lines and their numbers into an offscreen bitmap, which
// it hands to the picture it draws on. It also circles the observer about the
// vertical axis, one step per call, for the window's automatic rotation.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// What the model draws on: a picture control of some size that shows the picture
// it is given stretched over that size. The 3D window implements it on its view.
class TImageTarget {
public:
    virtual ~TImageTarget() = default;
    virtual int ImageWidth() const = 0;
    virtual int ImageHeight() const = 0;
    // The model's bitmap was copied onto the picture.
    virtual void AssignPicture(const QImage& Bitmap) = 0;
};

// A picture target without a widget: a size and the last picture received.
class TPlainImageTarget : public TImageTarget {
public:
    TPlainImageTarget(int Width = 320, int Height = 192) : Width(Width), Height(Height) {}
    int ImageWidth() const override { return Width; }
    int ImageHeight() const override { return Height; }
    void AssignPicture(const QImage& Bitmap) override {
        Picture = Bitmap;
        ++Assigned;
    }
    int Width, Height;
    QImage Picture;
    int Assigned = 0;
};

struct TVector3D {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

struct TLine3D {
    int FromPoint = 0; // point numbers; 0 is the view point
    int ToPoint = 0;
};

class Tom3D {
public:
    static constexpr int MaxPoints = 10000;
    static constexpr int MaxLines = 10000;
    static constexpr quint8 EOL = 155;
    // The screen adopts the picture's size only up to this width; a wider (zoomed)
    // picture shows the screen stretched.
    static constexpr int MaxScreenWidth = 320;
    static constexpr int BisectionSteps = 15;
    static constexpr int NumberFontSize = 6;

    Tom3D();

    int PointCount = 0; // points 1..PointCount
    int LineCount = 0;  // lines 1..LineCount
    int MinX = 0;
    int MaxX = 320;
    int MinY = 0;
    int MaxY = 192;
    // Coordinates of points 0..MaxPoints; element 0 is the view point (set at every redraw).
    std::vector<double> X, Y, Z;
    std::vector<TLine3D> Lines; // lines 0..MaxLines (0 unused)
    // Projected positions: after a redraw in pixels with y upwards.
    std::vector<double> ScreenX, ScreenY;
    std::vector<quint8> Visible; // 1: in front of the observer

    TVector3D Observer{50.0, 50.0, 50.0};
    double Zoom = 1.0; // projection scale 450 x Zoom
    TVector3D ViewPoint{0.0, 0.0, 0.0};
    double PlaneDistance = 1.0;

    double CurrentAngle = 0.0;    // radians, valid once the rotation started
    double RotationAngle = 360.0; // 360: start pending
    double RotationStep = 1.0;    // degrees while pending, radians after the first step
    double Radius = 0.0;          // observer's distance from the vertical axis

    QImage Bitmap;                 // the screen, MaxX x MaxY
    TImageTarget* Image = nullptr; // not owned
    QString FileName;              // bare name of the file loaded last

    quint8 DrawPoints = 0;
    quint8 DrawLines = 1;
    quint8 DrawPointNumbers = 0;
    quint8 DrawLineNumbers = 0;
    quint32 BackgroundColor = 0x000000;
    quint32 LineColor = 0xFFFFFF;
    quint32 LineNumberColor = 0x00FFFF;
    quint32 PointColor = 0x00FF00;
    quint32 PointNumberColor = 0x00FF00;
    quint32 MarkedPointColor = 0x00FFFF;
    quint32 MarkedLineColor = 0xFFFF00;
    int MarkedPoint = -1;
    int MarkedLine = -1;

    void Clear();
    // The largest file read: every record the model can use (a count, 3 x MaxPoints
    // coordinates, a count, 2 x MaxLines point numbers) at 128 bytes each, far beyond
    // any number's text; the records of a real file take some bytes each.
    static constexpr qint64 MaxFileSize = qint64(2 + 3 * MaxPoints + 2 * MaxLines) * 128;
    // Reads a Solid States file at its real path; throws EInOutError when it cannot
    // be read or is larger than MaxFileSize. A record that is not a number leaves an
    // empty model.
    void LoadFromFile(const QString& Path);
    // The same on the file's bytes.
    void LoadFromData(const QByteArray& Data);
    void ResetRotation();
    void RotateStep();
    // Adopts the picture's size, projects, scales and draws the whole model.
    void Redraw();
    void ClearDisplay();

    // Pieces of the redraw.
    void Project();
    bool IsVisible(const TVector3D& P) const;
    // Screen position (pixels, y upwards) of a point in front of the observer, as
    // the last Project() placed the visible points.
    void ScreenPosition(const TVector3D& P, double& SX, double& SY) const;
    // Clips a segment to [MinX, MaxX] x [MinY, MaxY]; false when nothing is left.
    bool ClipLine(double& X1, double& Y1, double& X2, double& Y2) const;
    void DrawEdge(double X1, double Y1, double X2, double Y2, int Index);
    void PaintPoints();
    void DrawModel();

private:
    enum : int { ocLeft = 1, ocRight = 2, ocBottom = 4, ocTop = 8 };
    int OutCode(double PX, double PY) const;
    bool ClipEndpoint(double& X1, double& Y1, double X2, double Y2) const;
    bool Inside(double PX, double PY) const;
    TVector3D PointAt(int I) const { return {X[I], Y[I], Z[I]}; }
    void ProjectRaw(const TVector3D& P, double& PX, double& PY) const;
    void SetPixel(int PX, int PY, quint32 Colour);
    void DrawNumber(int Number, int Left, int Top, quint32 Colour);

    // The view of the current redraw.
    TVector3D FDir, FUnit, FCentre;
    double FSz = 0.0, FSy = 0.0, FScale = 0.0, FOffsetX = 0.0, FOffsetY = 0.0;
    // The number glyphs in one ink colour on the background, per colour in use.
    struct TNumberStrip {
        QRgb Ink;
        QRgb Back;
        QImage Strip;
    };
    std::vector<TNumberStrip> FNumberStrips;
    const QImage& NumberStrip(quint32 Colour);
};
