#pragma once
// A window that stays on top of the others, as a tool window may, but steps back
// while a modal dialog blocks it: a question or a file dialog is never hidden
// behind it. Once the dialog is gone it stays on top again.
class QWidget;

void StayOnTopBelowModals(QWidget* Window);
