#pragma once

#include <string>

class QTextLayout;

namespace pelwick {

// text wrapped in FIRST STRONG ISOLATE ... POP DIRECTIONAL ISOLATE when it holds a
// right-to-left character, else text as it is: put after a left-to-right start (a headline's
// number), it is ordered by its own first strong character and never moves that start.
std::string IsolateRightToLeft(const std::string& text);

// Lays layout's text out as one line the way the engine draws it: left to right as a whole,
// so that a line keeps its start at the left whatever script follows, each right-to-left
// stretch drawn right to left in its own run.
void LayOutLine(QTextLayout& layout);

}  // namespace pelwick
