#pragma once
// A tool window that stays above the window it belongs to and never hides a
// dialog: it is a transient of its owner, which every window manager keeps above
// the owner, and a dialog opened later lies above it. An always-on-top window
// that steps back while a modal dialog is up would rest on the window manager
// dropping its "above" state on request, and not all of them do.
class QWidget;

// Makes Window a tool window of Owner's window (without an owner, of none); it is
// never kept above other windows.
void StayAboveOwner(QWidget* Window, QWidget* Owner);
