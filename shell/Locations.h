#pragma once

#include <QString>

namespace velunor::shell {

// Where a reporting handler names itself in the error report.
namespace Location {
inline const QString Form_Load = QStringLiteral("in Korvath2016/11/03.Form1.Form_Load ");
inline const QString PushButton1_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton1_Click ");
inline const QString PushButton2_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton2_Click ");
inline const QString PushButton3_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton3_Click ");
inline const QString PushButton4_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton4_Click ");
inline const QString PushButton5_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton5_Click ");
inline const QString PushButton6_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton6_Click ");
inline const QString PushButton7_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton7_Click ");
inline const QString PushButton8_Click =
    QStringLiteral("in Korvath2016/11/03.Form1.PushButton8_Click ");
} // namespace Location

} // namespace velunor::shell
