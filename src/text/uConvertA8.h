#pragma once
// PC text (Windows-1252, lines ending in CR LF) to ATASCII bytes an Atari can show.
#include "Cp1252.h"

#include <QByteArray>
#include <QString>

// How a PC text file was written: its encoding, the line end it uses and whether its
// last line has one.
struct TPCTextFormat {
    TTextEncoding Encoding = TTextEncoding::Cp1252;
    QString LineEnd = QStringLiteral("\r\n");
    bool LastLineEnded = true;
};

// A PC text file as the editor shows it: UTF-8 when the file is valid UTF-8, else
// Windows-1252; every kind of line end (CR LF, CR, LF) one line break. Format, when
// given, receives the encoding, the file's first line end (CR LF without one) and
// whether the file ends in a line end (an empty file counts as ended).
QString PCTextToEditorText(const QByteArray& File, TPCTextFormat* Format = nullptr);
// The editor's text as the conversion takes it: every line followed by CR LF, in
// Windows-1252; decomposed umlauts are composed first, and characters Windows-1252
// lacks are left out (the Atari cannot show them either). A text ending in a line
// break has no further line.
QByteArray EditorTextToPCText(const QString& Plain);
// The editor's text as a PC text file in Format: every line followed by Format's line
// end, the last one only when the text ends in a line break or Format.LastLineEnded.
// So a loaded file saved unedited gives its own bytes back (with mixed line ends
// all of them become the first one's).
QByteArray EditorTextToFile(const QString& Plain, const TPCTextFormat& Format);

class TConvertA8 {
public:
    QByteArray Text;    // Windows-1252 bytes
    int TextLength = 0; // characters of Text to convert, usually Text.size()

    // Converts the first TextLength characters of Text into Dest and returns the
    // number of bytes written. CR becomes 155, German umlauts and sharp s become two
    // letters, characters without an ATASCII form are dropped. Never writes more than
    // DestSize bytes: conversion stops before the first character whose output no
    // longer fits. A TextLength beyond Text counts as Text.size().
    int ToATASCII(quint8* Dest, int DestSize) const;
};
