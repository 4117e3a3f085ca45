#pragma once
// PC text (Windows-1252, lines ending in CR LF) to ATASCII bytes an Atari can show.
#include <QByteArray>
#include <QString>

// A PC text file as the editor shows it: Windows-1252 decoded, every kind of line
// end (CR LF, CR, LF) one line break.
QString PCTextToEditorText(const QByteArray& File);
// The editor's text as the conversion and the PC-text save take it: every line
// followed by CR LF, in Windows-1252. A text ending in a line break has no further line.
QByteArray EditorTextToPCText(const QString& Plain);

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
