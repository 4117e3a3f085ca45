#pragma once
#include <QObject>

// The report data module: holds the report project the windows print through.
class TfGlobal : public QObject {
    Q_OBJECT
public:
    explicit TfGlobal(QObject* Parent = nullptr);
};

extern TfGlobal* fGlobal;
