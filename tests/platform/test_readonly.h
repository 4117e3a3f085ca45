#pragma once
// Targets this process may not write. Root writes anywhere, so the tests act as an
// unprivileged user meanwhile: only the effective ids change, and they come back.
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

class TActAsUnprivileged {
public:
    TActAsUnprivileged() {
        if (::geteuid() != 0) return;
        FSwitched = ::setegid(Nobody) == 0 && ::seteuid(Nobody) == 0;
        EXPECT_TRUE(FSwitched) << "cannot act as an unprivileged user";
    }
    ~TActAsUnprivileged() { EXPECT_TRUE(!FSwitched || (::seteuid(0) == 0 && ::setegid(0) == 0)); }
    TActAsUnprivileged(const TActAsUnprivileged&) = delete;

private:
    static constexpr uid_t Nobody = 65534;
    bool FSwitched = false;
};

// Gives Path the permission bits Mode (its folders must let others pass).
inline void SetMode(const QString& Path, mode_t Mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(Path).constData(), Mode), 0) << Path.toStdString();
}
