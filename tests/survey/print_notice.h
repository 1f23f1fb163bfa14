#pragma once
// Notices compared field by field and shown readably in test failure messages.

#include <ostream>

#include "engine/notice.h"

namespace hc {

inline bool operator==(const Notice& a, const Notice& b) {
    return a.text == b.text && a.buttons == b.buttons && a.title == b.title;
}

inline void PrintTo(const Notice& n, std::ostream* os) {
    *os << "{\"" << n.text.toStdString() << "\", buttons "
        << (n.buttons == NoticeButtons::Ok ? "Ok" : "CancelRetryContinue") << ", title \""
        << n.title.toStdString() << "\"}";
}

}  // namespace hc
