#pragma once

class QAbstractButton;

// A dialog's ヘルプ button: enabled only when the program shows help pages,
// and opening the page of topic when clicked.
void connectHelpButton(QAbstractButton *button, int topic);
