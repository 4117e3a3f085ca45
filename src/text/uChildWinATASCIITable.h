#pragma once
#include <QString>
#include <QWidget>

class ImageView;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TAtariFont;

// The document window that shows an ATASCII table or a font map of a character set.
class TChildWinATASCIITable : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinATASCIITable(QWidget* Parent = nullptr);

    // Name under which the built-in character set is drawn.
    static const QString BuiltinFontName;

    // The Tools-menu commands: a new window, put into the main window's MDI area
    // (when there is one), sized, drawn, shown and translated. The caller keeps the
    // font; it is read only while drawing. ShowInternational should be true exactly
    // when the built-in set is drawn; the overloads without a font draw the built-in
    // set under BuiltinFontName.
    static TChildWinATASCIITable* CreateTable(const TAtariFont& Font, bool ShowInternational);
    static TChildWinATASCIITable* CreateTable();
    static TChildWinATASCIITable* CreateFontMap(const TAtariFont& Font);
    static TChildWinATASCIITable* CreateFontMap();

    // Operations the main window calls. The invert command inverts
    // imgATASCIITable->Picture (then imgATASCIITable->Changed()).
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void PrintReport();
    void SaveToFile();

    void FormShow();
    void btnReportClick() { PrintReport(); }
    void btnIsChildWinClick();
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();

    quint8 IsChildWin = 1;
    int TableKind = 0; // 1 ATASCII table, 2 font map
    QString FontName;

    QWidget* pnlTop = nullptr;
    QToolButton *btnReport = nullptr, *btnIsChildWin = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* imgATASCIITable = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* E) override;
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    void SetFrameHeight(int Height);
    void WritePicture(const QString& FileName);
    int FWheelRest = 0;
};
