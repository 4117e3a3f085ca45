#include "uTom3D.h"

#include "FileIO.h"
#include "WinColor.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// Records end at the ATASCII end-of-line byte or at the end of the data.
class TRecordReader {
public:
    explicit TRecordReader(const QByteArray& Data) : FData(Data) {}
    QByteArray Next() {
        const qsizetype Size = FData.size();
        if (FPos >= Size) return QByteArray();
        qsizetype End = FPos;
        while (End < Size && quint8(FData.at(End)) != Tom3D::EOL) ++End;
        QByteArray Record = FData.mid(FPos, End - FPos);
        FPos = End < Size ? End + 1 : Size;
        return Record;
    }

private:
    const QByteArray& FData;
    qsizetype FPos = 0;
};

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// Optional sign and decimal digits, nothing else (no blanks, no line-end bytes).
bool ParseInt(const QByteArray& Record, int& Value) {
    const char* First = Record.constData();
    const char* Last = First + Record.size();
    if (First != Last && *First == '+') ++First;
    if (First == Last || (*First == '-' && First + 1 == Last)) return false;
    const auto [Ptr, Ec] = std::from_chars(First, Last, Value);
    return Ec == std::errc() && Ptr == Last;
}

// Optional sign, digits with an optional '.' fraction (at least one digit), and an
// optional exponent. The '.' is the decimal point whatever the locale; the result
// must be finite.
bool ParseFloat(const QByteArray& Record, double& Value) {
    const char* First = Record.constData();
    const char* Last = First + Record.size();
    const char* P = First;
    if (P != Last && (*P == '+' || *P == '-')) ++P;
    const char* Number = P;
    int Digits = 0;
    while (P != Last && IsDigit(*P)) ++P, ++Digits;
    if (P != Last && *P == '.') {
        ++P;
        while (P != Last && IsDigit(*P)) ++P, ++Digits;
    }
    if (Digits == 0) return false;
    if (P != Last && (*P == 'e' || *P == 'E')) {
        ++P;
        if (P != Last && (*P == '+' || *P == '-')) ++P;
        if (P == Last || !IsDigit(*P)) return false;
        while (P != Last && IsDigit(*P)) ++P;
    }
    if (P != Last) return false;
    double Result = 0.0;
    const auto [Ptr, Ec] = std::from_chars(Number, Last, Result);
    if (Ec != std::errc() || Ptr != Last || !std::isfinite(Result)) return false;
    Value = *First == '-' ? -Result : Result;
    return true;
}

// Nearest integer, ties to even; the caller keeps the value in int range.
int RoundEven(double V) {
    return int(std::nearbyint(V));
}

// Beyond this distance from the screen nothing of a point mark or its number can
// reach the bitmap.
constexpr double FarAway = 1.0e6;

TVector3D Minus(const TVector3D& A, const TVector3D& B) {
    return {A.X - B.X, A.Y - B.Y, A.Z - B.Z};
}

double Dot(const TVector3D& A, const TVector3D& B) {
    return A.X * B.X + A.Y * B.Y + A.Z * B.Z;
}

} // namespace

Tom3D::Tom3D()
    : X(MaxPoints + 1, 0.0), Y(MaxPoints + 1, 0.0), Z(MaxPoints + 1, 0.0), Lines(MaxLines + 1),
      ScreenX(MaxPoints + 1, 0.0), ScreenY(MaxPoints + 1, 0.0), Visible(MaxPoints + 1, 0),
      Bitmap(MaxX, MaxY, QImage::Format_RGB32) {
    Bitmap.fill(WinColorToRgb(BackgroundColor));
}

void Tom3D::Clear() {
    const int Points = std::clamp(PointCount, 0, MaxPoints);
    const int LinesUsed = std::clamp(LineCount, 0, MaxLines);
    std::fill(X.begin(), X.begin() + Points + 1, 0.0);
    std::fill(Y.begin(), Y.begin() + Points + 1, 0.0);
    std::fill(Z.begin(), Z.begin() + Points + 1, 0.0);
    std::fill(Lines.begin(), Lines.begin() + LinesUsed + 1, TLine3D{});
    PointCount = 0;
    LineCount = 0;
}

void Tom3D::LoadFromFile(const QString& Path) {
    const QByteArray Data = ReadWholeFile(Path, MaxFileSize);
    FileName = QFileInfo(Path).fileName();
    LoadFromData(Data);
}

void Tom3D::LoadFromData(const QByteArray& Data) {
    Clear();
    ResetRotation();
    TRecordReader Reader(Data);
    int N = 0;
    if (!ParseInt(Reader.Next(), N)) return;
    // A file may declare more points than the model holds: all coordinate records
    // are read so the columns stay in step, the first MaxPoints are kept.
    const int Kept = std::clamp(N, 0, MaxPoints);
    for (std::vector<double>* Axis : {&X, &Y, &Z})
        for (int I = 1; I <= N; ++I) {
            double V = 0.0;
            if (!ParseFloat(Reader.Next(), V)) return;
            if (I <= Kept) (*Axis)[I] = V;
        }
    int M = 0;
    if (!ParseInt(Reader.Next(), M)) return;
    const int KeptLines = std::clamp(M, 0, MaxLines);
    for (int I = 1; I <= KeptLines; ++I) {
        int From = 0, To = 0;
        if (!ParseInt(Reader.Next(), From) || !ParseInt(Reader.Next(), To)) return;
        Lines[I] = {From, To};
    }
    PointCount = Kept;
    LineCount = KeptLines;
}

// ------------------------------------------------------------------ rotation

void Tom3D::ResetRotation() {
    RotationAngle = 360.0;
    RotationStep = 1.0;
}

void Tom3D::RotateStep() {
    if (RotationAngle == 360.0) {
        // The step is converted with 6.28 for a full turn, as the rotation always ran.
        RotationStep = RotationStep / 360.0 * 6.28;
        Radius = std::sqrt(Observer.X * Observer.X + Observer.Y * Observer.Y);
        CurrentAngle = std::atan2(Observer.Y, Observer.X);
        RotationAngle = 0.0;
    }
    CurrentAngle += RotationStep;
    Observer.X = std::cos(CurrentAngle) * Radius;
    Observer.Y = std::sin(CurrentAngle) * Radius;
}

// ------------------------------------------------------------------ projection

bool Tom3D::IsVisible(const TVector3D& P) const {
    return Dot(FDir, Minus(P, Observer)) > 0.0;
}

void Tom3D::ProjectRaw(const TVector3D& P, double& PX, double& PY) const {
    const TVector3D W = Minus(P, Observer);
    const double T = PlaneDistance / Dot(W, FUnit);
    const TVector3D I{Observer.X + T * W.X, Observer.Y + T * W.Y, Observer.Z + T * W.Z};
    if (FSz != 0.0) {
        PX = ((I.X - FCentre.X) * FUnit.Y - (I.Y - FCentre.Y) * FUnit.X) / FSz;
        PY = (I.Z - FCentre.Z) / FSz;
    } else {
        // Looking straight up or down.
        PX = ((FCentre.X - I.X) * FUnit.Z + (I.Z - FCentre.Z) * FUnit.X) / FSy;
        PY = (I.Y - FCentre.Y) / FSy;
    }
}

void Tom3D::ScreenPosition(const TVector3D& P, double& SX, double& SY) const {
    ProjectRaw(P, SX, SY);
    SX = SX * FScale + FOffsetX;
    SY = SY * FScale + FOffsetY;
}

void Tom3D::Project() {
    FDir = Minus(ViewPoint, Observer);
    double L = std::sqrt(Dot(FDir, FDir));
    if (L == 0.0) L = 0.000001;
    FUnit = {FDir.X / L, FDir.Y / L, FDir.Z / L};
    // Rounding can push a component just past 1.
    FSz = std::sqrt(std::max(0.0, 1.0 - FUnit.Z * FUnit.Z));
    FSy = std::sqrt(std::max(0.0, 1.0 - FUnit.Y * FUnit.Y));
    FCentre = {Observer.X + PlaneDistance * FUnit.X, Observer.Y + PlaneDistance * FUnit.Y,
               Observer.Z + PlaneDistance * FUnit.Z};
    const int N = std::clamp(PointCount, 0, MaxPoints);
    for (int I = 0; I <= N; ++I) {
        const TVector3D P = PointAt(I);
        Visible[I] = IsVisible(P) ? 1 : 0;
        if (Visible[I]) ProjectRaw(P, ScreenX[I], ScreenY[I]);
    }
    FScale = 450.0 * Zoom;
    for (int I = 0; I <= N; ++I)
        if (Visible[I]) {
            ScreenX[I] *= FScale;
            ScreenY[I] *= FScale;
        }
    // The view point projects to the plane's centre; it goes to the screen's centre.
    const double CentreX = Visible[0] ? ScreenX[0] : 0.0;
    const double CentreY = Visible[0] ? ScreenY[0] : 0.0;
    FOffsetX = MaxX / 2.0 - CentreX;
    FOffsetY = MaxY / 2.0 - CentreY;
    for (int I = 0; I <= N; ++I)
        if (Visible[I]) {
            ScreenX[I] += FOffsetX;
            ScreenY[I] += FOffsetY;
        }
}

// ------------------------------------------------------------------ clipping

int Tom3D::OutCode(double PX, double PY) const {
    int Code = 0;
    if (PX < MinX)
        Code |= ocLeft;
    else if (PX > MaxX)
        Code |= ocRight;
    if (PY > MaxY)
        Code |= ocBottom;
    else if (PY < MinY)
        Code |= ocTop;
    return Code;
}

bool Tom3D::Inside(double PX, double PY) const {
    return PX >= MinX && PX <= MaxX && PY >= MinY && PY <= MaxY;
}

bool Tom3D::ClipEndpoint(double& X1, double& Y1, double X2, double Y2) const {
    const int Code = OutCode(X1, Y1);
    if (Code == 0) return true;
    // A zero denominator means the segment runs along the edge's outer side.
    if (Code & ocLeft) {
        if (X2 == X1) return false;
        Y1 = (Y2 - Y1) * (MinX - X1) / (X2 - X1) + Y1;
        X1 = MinX;
        if (Y1 >= MinY && Y1 <= MaxY) return true;
    }
    if (Code & ocRight) {
        if (X2 == X1) return false;
        Y1 = (Y2 - Y1) * (MaxX - X1) / (X2 - X1) + Y1;
        X1 = MaxX;
        if (Y1 >= MinY && Y1 <= MaxY) return true;
    }
    if (Code & ocBottom) {
        if (Y2 == Y1) return false;
        X1 = (X2 - X1) * (MaxY - Y1) / (Y2 - Y1) + X1;
        Y1 = MaxY;
        if (X1 >= MinX && X1 <= MaxX) return true;
    }
    if (Code & ocTop) {
        if (Y2 == Y1) return false;
        X1 = (X2 - X1) * (MinY - Y1) / (Y2 - Y1) + X1;
        Y1 = MinY;
        if (X1 >= MinX && X1 <= MaxX) return true;
    }
    return false;
}

bool Tom3D::ClipLine(double& X1, double& Y1, double& X2, double& Y2) const {
    if (OutCode(X1, Y1) & OutCode(X2, Y2)) return false;
    ClipEndpoint(X1, Y1, X2, Y2);
    ClipEndpoint(X2, Y2, X1, Y1);
    return Inside(X1, Y1) && Inside(X2, Y2);
}

// ------------------------------------------------------------------ drawing

void Tom3D::SetPixel(int PX, int PY, quint32 Colour) {
    if (PX < 0 || PY < 0 || PX >= Bitmap.width() || PY >= Bitmap.height()) return;
    reinterpret_cast<QRgb*>(Bitmap.scanLine(PY))[PX] = WinColorToRgb(Colour);
}

namespace {

// The glyphs of the number labels: "0" to "9" and "-" at the number font size,
// drawn once without antialiasing. Each glyph is a cell of its advance width and
// the font's line height; Ink marks the cell pixels the glyph sets.
struct TNumberGlyphs {
    static constexpr int Count = 11;
    int Height = 0;
    int StripWidth = 0;
    std::array<int, Count> Left{};
    std::array<int, Count> Advance{};
    std::vector<quint8> Ink; // StripWidth x Height

    static int Index(char C) { return C == '-' ? 10 : C - '0'; }
};

const TNumberGlyphs& NumberGlyphs() {
    static const TNumberGlyphs Glyphs = [] {
        TNumberGlyphs G;
        QImage Strip(1, 1, QImage::Format_RGB32); // the resolution of the model's bitmap
        QFont F;
        F.setPointSize(Tom3D::NumberFontSize);
        F.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics M(F, &Strip);
        const char Chars[] = "0123456789-";
        for (int I = 0; I < TNumberGlyphs::Count; ++I) {
            G.Left[I] = G.StripWidth;
            G.Advance[I] = std::max(0, M.horizontalAdvance(QLatin1Char(Chars[I])));
            G.StripWidth += G.Advance[I];
        }
        G.Height = std::max(0, M.height());
        if (G.StripWidth == 0 || G.Height == 0) return G;
        Strip = QImage(G.StripWidth, G.Height, QImage::Format_RGB32);
        Strip.fill(Qt::black);
        {
            QPainter P(&Strip);
            P.setRenderHint(QPainter::TextAntialiasing, false);
            P.setFont(F);
            P.setPen(Qt::white);
            for (int I = 0; I < TNumberGlyphs::Count; ++I) {
                // Each glyph only inside its own cell.
                P.setClipRect(G.Left[I], 0, G.Advance[I], G.Height);
                P.drawText(G.Left[I], M.ascent(), QString(QLatin1Char(Chars[I])));
            }
        }
        G.Ink.resize(size_t(G.StripWidth) * size_t(G.Height));
        for (int Y = 0; Y < G.Height; ++Y) {
            const QRgb* Row = reinterpret_cast<const QRgb*>(Strip.constScanLine(Y));
            for (int X = 0; X < G.StripWidth; ++X)
                G.Ink[size_t(Y) * size_t(G.StripWidth) + size_t(X)] = qGray(Row[X]) >= 128 ? 1 : 0;
        }
        return G;
    }();
    return Glyphs;
}

} // namespace

const QImage& Tom3D::NumberStrip(quint32 Colour) {
    const QRgb Ink = WinColorToRgb(Colour), Back = WinColorToRgb(BackgroundColor);
    for (const TNumberStrip& S : FNumberStrips)
        if (S.Ink == Ink && S.Back == Back) return S.Strip;
    // A few colours are in use at a time; colours changed long ago need no strip.
    if (FNumberStrips.size() >= 8) FNumberStrips.clear();
    const TNumberGlyphs& G = NumberGlyphs();
    TNumberStrip S{Ink, Back, QImage()};
    if (G.StripWidth > 0 && G.Height > 0) {
        S.Strip = QImage(G.StripWidth, G.Height, QImage::Format_RGB32);
        for (int Y = 0; Y < G.Height; ++Y) {
            QRgb* Row = reinterpret_cast<QRgb*>(S.Strip.scanLine(Y));
            const quint8* Mask = G.Ink.data() + size_t(Y) * size_t(G.StripWidth);
            for (int X = 0; X < G.StripWidth; ++X) Row[X] = Mask[X] ? Ink : Back;
        }
    }
    FNumberStrips.push_back(std::move(S));
    return FNumberStrips.back().Strip;
}

void Tom3D::DrawNumber(int Number, int Left, int Top, quint32 Colour) {
    if (Bitmap.isNull()) return;
    const TNumberGlyphs& G = NumberGlyphs();
    const QImage& Strip = NumberStrip(Colour);
    if (Strip.isNull()) return;
    char Text[16];
    const auto Result = std::to_chars(Text, Text + sizeof Text, Number);
    // Numbers stand on an opaque background, like text on the canvas brush: every
    // glyph cell is copied whole.
    const int Y0 = std::max(Top, 0), Y1 = std::min(Top + G.Height, Bitmap.height());
    if (Y0 >= Y1) return;
    uchar* Base = Bitmap.bits();
    const qsizetype Pitch = Bitmap.bytesPerLine(), StripPitch = Strip.bytesPerLine();
    const uchar* StripBase = Strip.constBits();
    int X = Left;
    for (const char* C = Text; C != Result.ptr; ++C) {
        const int I = TNumberGlyphs::Index(*C);
        const int X0 = std::max(X, 0), X1 = std::min(X + G.Advance[I], Bitmap.width());
        if (X0 < X1) {
            const QRgb* From =
                reinterpret_cast<const QRgb*>(StripBase + (Y0 - Top) * StripPitch) + G.Left[I] + (X0 - X);
            QRgb* To = reinterpret_cast<QRgb*>(Base + Y0 * Pitch) + X0;
            const int Width = X1 - X0;
            for (int Y = Y0; Y < Y1; ++Y) {
                for (int K = 0; K < Width; ++K) To[K] = From[K];
                From = reinterpret_cast<const QRgb*>(reinterpret_cast<const uchar*>(From) + StripPitch);
                To = reinterpret_cast<QRgb*>(reinterpret_cast<uchar*>(To) + Pitch);
            }
        }
        X += G.Advance[I];
    }
}

void Tom3D::DrawEdge(double X1, double Y1, double X2, double Y2, int Index) {
    if (!(std::fabs(X1) < FarAway && std::fabs(Y1) < FarAway && std::fabs(X2) < FarAway &&
          std::fabs(Y2) < FarAway))
        return;
    int IX = RoundEven(X1), IY = RoundEven(Y1);
    const int EX = RoundEven(X2), EY = RoundEven(Y2);
    const bool Marked = Index == MarkedLine;
    if (DrawLines == 1) {
        const quint32 Colour = Marked ? MarkedLineColor : LineColor;
        if (IX == EX && IY == EY)
            SetPixel(IX, IY, Colour);
        else {
            // Bresenham; the end pixel is left out.
            const int DX = std::abs(EX - IX), SX = IX < EX ? 1 : -1;
            const int DY = -std::abs(EY - IY), SY = IY < EY ? 1 : -1;
            int Err = DX + DY;
            while (IX != EX || IY != EY) {
                SetPixel(IX, IY, Colour);
                const int E2 = 2 * Err;
                if (E2 >= DY) {
                    Err += DY;
                    IX += SX;
                }
                if (E2 <= DX) {
                    Err += DX;
                    IY += SY;
                }
            }
        }
    }
    if (DrawLineNumbers == 1)
        DrawNumber(Index, (RoundEven(X1) + EX) / 2 + 3, (RoundEven(Y1) + EY) / 2 + 3,
                   Marked ? MarkedLineColor : LineNumberColor);
}

void Tom3D::PaintPoints() {
    const int N = std::clamp(PointCount, 0, MaxPoints);
    for (int I = 1; I <= N; ++I) {
        if (!Visible[I]) continue;
        const double FX = ScreenX[I], FY = MaxY - ScreenY[I];
        if (!(std::fabs(FX) < FarAway && std::fabs(FY) < FarAway)) continue;
        const int PX = RoundEven(FX), PY = RoundEven(FY);
        const bool Marked = I == MarkedPoint;
        if (DrawPoints == 1) {
            const quint32 Colour = Marked ? MarkedPointColor : PointColor;
            for (int DY = -1; DY <= 1; ++DY)
                for (int DX = -1; DX <= 1; ++DX)
                    SetPixel(PX + DX, PY + DY, DX == 0 && DY == 0 ? BackgroundColor : Colour);
        }
        if (DrawPointNumbers == 1)
            DrawNumber(I, PX + 3, PY - 3, Marked ? MarkedPointColor : PointNumberColor);
    }
}

void Tom3D::ClearDisplay() {
    // The bitmap is the model's screen; Redraw gives it the screen's size.
    if (!Bitmap.isNull()) Bitmap.fill(WinColorToRgb(BackgroundColor));
    if (Image) Image->AssignPicture(Bitmap);
}

void Tom3D::DrawModel() {
    ClearDisplay();
    // The picture shares the cleared bitmap; draw into a copy of our own.
    if (!Bitmap.isNull()) (void)Bitmap.bits();
    const int N = std::clamp(PointCount, 0, MaxPoints);
    const int M = std::clamp(LineCount, 0, MaxLines);
    for (int I = 1; I <= M; ++I) {
        const int A = Lines[I].FromPoint, B = Lines[I].ToPoint;
        // Lines naming points the model does not hold have no ends to draw.
        if (A < 0 || A > N || B < 0 || B > N) continue;
        double X1 = ScreenX[A], Y1 = ScreenY[A], X2 = ScreenX[B], Y2 = ScreenY[B];
        const int Count = Visible[A] + Visible[B];
        if (Count == 0) continue;
        if (Count == 1) {
            // The hidden end moves towards the visible one until it lies just in
            // front of the observer.
            const int Hidden = Visible[A] ? B : A;
            TVector3D HiddenSide = PointAt(Hidden);
            TVector3D VisibleSide = PointAt(Visible[A] ? A : B);
            for (int Step = 0; Step < BisectionSteps; ++Step) {
                const TVector3D Mid{(HiddenSide.X + VisibleSide.X) / 2, (HiddenSide.Y + VisibleSide.Y) / 2,
                                    (HiddenSide.Z + VisibleSide.Z) / 2};
                if (IsVisible(Mid))
                    VisibleSide = Mid;
                else
                    HiddenSide = Mid;
            }
            double SX = 0.0, SY = 0.0;
            ScreenPosition(VisibleSide, SX, SY);
            if (Hidden == A) {
                X1 = SX;
                Y1 = SY;
            } else {
                X2 = SX;
                Y2 = SY;
            }
        }
        Y1 = MaxY - Y1;
        Y2 = MaxY - Y2;
        if (ClipLine(X1, Y1, X2, Y2)) DrawEdge(X1, Y1, X2, Y2, I);
    }
    PaintPoints();
}

void Tom3D::Redraw() {
    if (Image && Image->ImageWidth() <= MaxScreenWidth) {
        MaxX = std::clamp(Image->ImageWidth(), 0, MaxScreenWidth);
        MaxY = std::clamp(Image->ImageHeight(), 0, 32767);
    }
    if (Bitmap.width() != MaxX || Bitmap.height() != MaxY)
        Bitmap = MaxX > 0 && MaxY > 0 ? QImage(MaxX, MaxY, QImage::Format_RGB32) : QImage();
    X[0] = ViewPoint.X;
    Y[0] = ViewPoint.Y;
    Z[0] = ViewPoint.Z;
    PlaneDistance = 1.0;
    Project();
    DrawModel();
    if (Image) Image->AssignPicture(Bitmap);
}
