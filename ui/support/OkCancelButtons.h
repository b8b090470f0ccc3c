#pragma once

class QDialog;
class QDialogButtonBox;

// The OK and キャンセル buttons of a dialog, in its words and wired to its
// accept() and reject() (an override included).
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
