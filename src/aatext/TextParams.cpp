#include "aatext/TextParams.h"

#include <algorithm>

namespace pelwick {

// ---- TStringList

void TStringList::Changed() {
    if (OnChange) OnChange();
}

void TStringList::Add(const std::string& line) {
    lines_.push_back(line);
    Changed();
}

void TStringList::Insert(int index, const std::string& line) {
    if (index < 0 || index > Count()) throw Exception("List index out of bounds");
    lines_.insert(lines_.begin() + index, line);
    Changed();
}

void TStringList::Set(int index, const std::string& line) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
    if (lines_[static_cast<std::size_t>(index)] == line) return;
    lines_[static_cast<std::size_t>(index)] = line;
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
    lines_.erase(lines_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}

void TStringList::Assign(std::vector<std::string> lines) {
    if (lines == lines_) return;
    lines_ = std::move(lines);
    Changed();
}

void TStringList::SetText(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    Assign(std::move(lines));
}

std::string TStringList::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

// ---- TCustomParam

TCustomParam::TCustomParam(TChangeHandler handler, const void* owner)
    : TNotifyClass(std::move(handler), owner) {
    backGround_.OnChange = [this] { Changed(); };
}

void TCustomParam::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TCustomParam*>(&source);
    if (!s) CannotAssign(source);
    if (s == this) return;
    SetAlignment(s->alignment_);
    SetWordWrap(s->wordWrap_);
    SetEndEllipsis(s->endEllipsis_);
    SetTransparent(s->transparent_);
    SetLayout(s->layout_);
    backGround_.Assign(s->backGround_);
    SetBackGroundMode(s->backGroundMode_);
}

// ---- TCustomTextParam

TCustomTextParam::TCustomTextParam(TChangeHandler handler, const void* owner)
    : TCustomParam(std::move(handler), owner), fontEffect_(ChildHandler(), this) {
    lines_.OnChange = [this] { Changed(); };
}

void TCustomTextParam::SetRowPitch(int value) {
    SetField(rowPitch_, std::clamp(value, MinRowPitch, MaxRowPitch));
}

void TCustomTextParam::Assign(const TNotifyClass& source) {
    TCustomParam::Assign(source);
    const auto* s = dynamic_cast<const TCustomTextParam*>(&source);
    if (!s || s == this) return;
    lines_.Assign(s->lines_.Strings());
    fontEffect_.Assign(s->fontEffect_);
    SetRowPitch(s->rowPitch_);
    SetLabelEffect(s->labelEffect_);
}

}  // namespace pelwick
