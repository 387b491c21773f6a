#pragma once

#include <QTextBrowser>

namespace dw {

// Help topics: anchors in the program's own help page.
namespace HelpTopic {
constexpr int Main = 100;
constexpr int Editor = 200;
constexpr int Holidays = 300;
constexpr int Options = 400;
} // namespace HelpTopic

// Opens the help page at a topic. Out of a modal dialog the help shows as a modal window
// of its own, since the dialog would block any other; otherwise one help window is kept
// and brought forward. Answers the browser that shows it.
QTextBrowser* showHelpTopic(int topic);

// The help page inside the program file, as a resource path (":/...").
QString helpPageFile();

// The help window kept between calls, if one was opened.
QTextBrowser* helpWindow();

} // namespace dw
