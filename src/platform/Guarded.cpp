#include "Guarded.h"

#include "FileIO.h"

#include <QDebug>

namespace {
TErrorReporter& Reporter() {
    static TErrorReporter R;
    return R;
}

void Report(const QString& Text) {
    if (Reporter())
        Reporter()(Text);
    else
        qWarning().noquote() << Text;
}
} // namespace

void SetErrorReporter(TErrorReporter NewReporter) {
    Reporter() = std::move(NewReporter);
}

void HandleException(const std::exception& E) {
    if (auto* M = dynamic_cast<const EMorvanelError*>(&E))
        Report(M->Message());
    else
        Report(QString::fromLocal8Bit(E.what()));
}

void HandleUnknownException() {
    Report(QStringLiteral("Unbekannter Fehler"));
}
