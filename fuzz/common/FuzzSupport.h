#pragma once
// What every fuzz target shares: the entry point libFuzzer and the replay program
// call, and the seed inputs each target writes for itself.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

// Writes the target's seed inputs (small valid synthetic files) into Dir, which exists.
void MakeSeeds(const QString& Dir);

// Writes one seed file into Dir; false when it cannot.
bool WriteSeed(const QString& Dir, const QString& Name, const QByteArray& Data);

// Makes Dir (with its parents) and writes the target's seeds into it; false on failure.
bool MakeSeedsInto(const QString& Dir);

// A headless application for targets that need fonts or widgets; made once.
void EnsureGuiApplication();

// Aborts the run: the fuzzer reports the input that got here.
[[noreturn]] void FuzzFail(const char* What);
