#include "uFGlobal.h"

TfGlobal* fGlobal = nullptr;

TfGlobal::TfGlobal(QObject* Parent) : QObject(Parent) { setObjectName(QStringLiteral("fGlobal")); }
