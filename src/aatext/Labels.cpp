#include "aatext/Labels.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include "app/Strings.h"

namespace pelwick {

namespace {

char UpperAsciiChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether an item of items other than self is named name (ignoring case).
template <class Items, class Item>
bool TakenByOther(const Items& items, const std::string& name, const Item* self) {
    for (const auto& item : items)
        if (item.get() != self && SameText(item->Name(), name)) return true;
    return false;
}

template <class Items>
int IndexOfName(const Items& items, const std::string& name) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (SameText(items[i]->Name(), name)) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::size_t FindTag(const std::string& line, const std::string& name) {
    const std::size_t tagLength = name.size() + 2;
    if (line.size() < tagLength) return std::string::npos;
    for (std::size_t at = line.find('<'); at != std::string::npos && at + tagLength <= line.size();
         at = line.find('<', at + 1)) {
        if (line[at + tagLength - 1] != '>') continue;
        std::size_t k = 0;
        while (k < name.size() && UpperAsciiChar(line[at + 1 + k]) == UpperAsciiChar(name[k]))
            ++k;
        if (k == name.size()) return at;
    }
    return std::string::npos;
}

// ---- TFontLabel

TFontLabel::TFontLabel(TFontLabels* collection)
    : collection_(collection), effect_([this](TNotifyClass&) { Changed(); }, this) {}

void TFontLabel::Changed() {
    if (collection_) collection_->Changed();
}

void TFontLabel::SetName(const std::string& name) {
    if (name == name_) return;
    if (collection_ && !name.empty() && collection_->IsTakenByOther(name, this))
        throw EDuplicateLabel();
    name_ = name;
    Changed();
}

void TFontLabel::SetFont(const TFont& font) {
    if (font == font_) return;
    font_ = font;
    Changed();
}

std::string TFontLabel::DisplayName() const {
    return name_.empty() ? std::string("TFontLabel") : name_;
}

void TFontLabel::Assign(const TFontLabel& source) {
    if (&source == this) return;
    SetName(source.name_);
    SetFont(source.font_);
    effect_.Assign(source.effect_);
}

// ---- TFontLabels

TFontLabel& TFontLabels::Add() {
    items_.push_back(std::make_unique<TFontLabel>(this));
    Changed();
    return *items_.back();
}

TFontLabel* TFontLabels::AddItem(const std::string& name, const std::string& face, int pointSize,
                                 TColor color, unsigned styles, bool shadowEnabled,
                                 int shadowOffsetX, int shadowOffsetY) {
    if (IndexOf(name) >= 0) return nullptr;
    auto label = std::make_unique<TFontLabel>(this);
    label->name_ = name;
    TFont font;
    font.Name = face;
    font.Height = 0;
    font.Size = pointSize;
    font.Color = color;
    font.Bold = styles & fsBold;
    font.Italic = styles & fsItalic;
    font.Underline = styles & fsUnderline;
    font.StrikeOut = styles & fsStrikeOut;
    label->font_ = font;
    TAAShadow& shadow = label->effect_.Shadow();
    shadow.SetEnabled(shadowEnabled);
    shadow.SetOffsetX(shadowOffsetX);
    shadow.SetOffsetY(shadowOffsetY);
    items_.push_back(std::move(label));
    Changed();
    return items_.back().get();
}

void TFontLabels::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
    items_.erase(items_.begin() + index);
    Changed();
}

void TFontLabels::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TFontLabels::Assign(const TFontLabels& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<TFontLabel>> copies;
    for (const auto& item : source.items_) {
        auto copy = std::make_unique<TFontLabel>(this);
        copy->name_ = item->name_;  // the source's names are already distinct
        copy->font_ = item->font_;
        copy->effect_.Assign(item->effect_);
        copies.push_back(std::move(copy));
    }
    items_ = std::move(copies);
    Changed();
}

int TFontLabels::IndexOf(const std::string& name) const {
    return IndexOfName(items_, name);
}

bool TFontLabels::IsTakenByOther(const std::string& name, const TFontLabel* self) const {
    return TakenByOther(items_, name, self);
}

void TFontLabels::ApplyTags(std::string& line, TFont* font, TAAEffect* effect) const {
    for (const auto& label : items_) {
        const std::size_t at = FindTag(line, label->Name());
        if (at == std::string::npos) continue;
        if (font) *font = label->Font();
        if (effect) effect->Assign(label->Effect());
        line.erase(at, label->Name().size() + 2);
    }
}

void TFontLabels::Changed() {
    if (OnChange) OnChange();
}

// ---- TUserLabel

void TUserLabel::Changed() {
    if (collection_) collection_->Changed();
}

void TUserLabel::SetName(const std::string& name) {
    if (name == name_) return;
    if (collection_ && !name.empty() && collection_->IsTakenByOther(name, this))
        throw EDuplicateLabel();
    name_ = name;
    Changed();
}

void TUserLabel::SetStyle(TUserLabel::TLabelStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

std::string TUserLabel::Text() {
    std::string text;
    switch (style_) {
        case TUserLabel::lsLeftJustify:
        case TUserLabel::lsCenter:
        case TUserLabel::lsRightJustify:
            break;
        case TUserLabel::lsRegOwner:
            text = collection_ ? collection_->RegisteredOwner() : RegisteredOwnerName();
            break;
        case TUserLabel::lsRegOrganization:
            text =
                collection_ ? collection_->RegisteredOrganization() : RegisteredOrganizationName();
            break;
        case TUserLabel::lsAppTitle:
            if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
                text = QGuiApplication::applicationDisplayName().toStdString();
            else if (QCoreApplication::instance())
                text = QCoreApplication::applicationName().toStdString();
            break;
        case TUserLabel::lsDate: {
            const QDateTime now =
                collection_ ? collection_->CurrentTime() : QDateTime::currentDateTime();
            text = QLocale().toString(now.date(), QLocale::ShortFormat).toStdString();
            break;
        }
        case TUserLabel::lsTime: {
            const QDateTime now =
                collection_ ? collection_->CurrentTime() : QDateTime::currentDateTime();
            text = QLocale().toString(now.time(), LongTimeFormat()).toStdString();
            break;
        }
        case TUserLabel::lsCustom:
            text = text_;
            break;
    }
    if (OnGetText) OnGetText(*this, text);
    return text;
}

void TUserLabel::SetText(const std::string& text) {
    if (style_ != TUserLabel::lsCustom || text == text_) return;
    text_ = text;
    Changed();
}

void TUserLabel::Assign(const TUserLabel& source) {
    if (&source == this) return;
    SetName(source.name_);
    text_ = source.text_;
    OnGetText = source.OnGetText;
    style_ = source.style_;
    Changed();
}

// ---- TUserLabels

TUserLabels::TUserLabels()
    : owner_(RegisteredOwnerName()), organization_(RegisteredOrganizationName()) {}

TUserLabel& TUserLabels::Add() {
    items_.push_back(std::make_unique<TUserLabel>(this));
    Changed();
    return *items_.back();
}

TUserLabel* TUserLabels::AddItem(const std::string& name, const std::string& text,
                                 TUserLabel::TLabelStyle style) {
    if (IndexOf(name) >= 0) return nullptr;
    auto label = std::make_unique<TUserLabel>(this);
    label->name_ = name;
    label->style_ = style;
    if (style == TUserLabel::lsCustom) label->text_ = text;
    items_.push_back(std::move(label));
    Changed();
    return items_.back().get();
}

void TUserLabels::AddStandardLabels() {
    AddItem("Left", "", TUserLabel::lsLeftJustify);
    AddItem("Center", "", TUserLabel::lsCenter);
    AddItem("Right", "", TUserLabel::lsRightJustify);
    AddItem("Owner", "", TUserLabel::lsRegOwner);
    AddItem("Organization", "", TUserLabel::lsRegOrganization);
    AddItem("AppTitle", "", TUserLabel::lsAppTitle);
    AddItem("Date", "", TUserLabel::lsDate);
    AddItem("Time", "", TUserLabel::lsTime);
}

void TUserLabels::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds");
    items_.erase(items_.begin() + index);
    Changed();
}

void TUserLabels::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TUserLabels::Assign(const TUserLabels& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<TUserLabel>> copies;
    for (const auto& item : source.items_) {
        auto copy = std::make_unique<TUserLabel>(this);
        copy->name_ = item->name_;
        copy->style_ = item->style_;
        copy->text_ = item->text_;
        copy->OnGetText = item->OnGetText;
        copies.push_back(std::move(copy));
    }
    items_ = std::move(copies);
    Changed();
}

int TUserLabels::IndexOf(const std::string& name) const {
    return IndexOfName(items_, name);
}

bool TUserLabels::IsTakenByOther(const std::string& name, const TUserLabel* self) const {
    return TakenByOther(items_, name, self);
}

void TUserLabels::ApplyTags(std::string& line, TAlignment& alignment) {
    for (const auto& label : items_) {
        const std::size_t at = FindTag(line, label->Name());
        if (at == std::string::npos) continue;
        line.erase(at, label->Name().size() + 2);
        switch (label->Style()) {
            case TUserLabel::lsLeftJustify:
                alignment = taLeftJustify;
                break;
            case TUserLabel::lsCenter:
                alignment = taCenter;
                break;
            case TUserLabel::lsRightJustify:
                alignment = taRightJustify;
                break;
            default:
                line.insert(at, label->Text());
                break;
        }
    }
}

void TUserLabels::Changed() {
    if (OnChange) OnChange();
}

TFont LabelFont(const char* face, int height, TColor color, bool bold, bool italic,
                std::uint8_t charset) {
    TFont f;
    f.Name = face;
    f.Height = height;
    f.Color = color;
    f.Bold = bold;
    f.Italic = italic;
    f.Charset = charset;
    return f;
}

TFontLabel& AddFontLabel(TFontLabels& fonts, const char* name, const TFont& font) {
    TFontLabel& label = fonts.Add();
    label.SetName(name);
    label.SetFont(font);
    return label;
}

QString LongTimeFormat() {
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        result += c;
    }
    return result.trimmed();
}

}  // namespace pelwick
