#pragma once
// Notices: what a calculation wants the user to see beside its result (the
// message boxes of the windows, standard error of the command line). The core
// records them in order with the calculation and never shows anything itself.

#include <QList>
#include <QString>

namespace hc {

// The buttons of the message box that shows a notice. No caller reads which
// button was pressed.
enum class NoticeButtons { Ok, CancelRetryContinue };

struct Notice {
    QString text;
    NoticeButtons buttons = NoticeButtons::Ok;
    QString title;  // empty: the application's title
};

using Notices = QList<Notice>;

}  // namespace hc
