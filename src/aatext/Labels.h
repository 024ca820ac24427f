#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aatext/AAEffect.h"
#include "app/Exception.h"
#include "gfx/Bitmap.h"

namespace pelwick {

// A label was renamed to a name another label of its collection has.
class EDuplicateLabel : public Exception {
  public:
    EDuplicateLabel() : Exception("Duplicate string!") {}
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Font styles for TFontLabels::AddItem, combined with |.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFontLabels;

// A tag that gives a line a font and an effect.
class TFontLabel {
  public:
    explicit TFontLabel(TFontLabels* collection = nullptr);
    TFontLabel(const TFontLabel&) = delete;
    TFontLabel& operator=(const TFontLabel&) = delete;

    const std::string& Name() const { return name_; }
    // Raises EDuplicateLabel (and keeps the name) when another label has it.
    void SetName(const std::string& name);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    TAAEffect& Effect() { return effect_; }
    const TAAEffect& Effect() const { return effect_; }
    std::string DisplayName() const;
    TFontLabels* Collection() const { return collection_; }

    void Assign(const TFontLabel& source);

  private:
    friend class TFontLabels;
    void Changed();

    TFontLabels* collection_;
    std::string name_;
    TFont font_;
    TAAEffect effect_;
};

// The font labels of a text; their order decides which tag wins.
class TFontLabels {
  public:
    // Called after every change of the collection or of one of its labels.
    std::function<void()> OnChange;

    TFontLabels() = default;
    TFontLabels(const TFontLabels&) = delete;
    TFontLabels& operator=(const TFontLabels&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TFontLabel& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TFontLabel& operator[](int index) const {
        return *items_.at(static_cast<std::size_t>(index));
    }

    // A new label at the end, with an empty name.
    TFontLabel& Add();
    // A label of the given font (Size in points) with the shadow set; nullptr, adding
    // nothing, when the name is taken.
    TFontLabel* AddItem(const std::string& name, const std::string& face, int pointSize,
                        TColor color, unsigned styles, bool shadowEnabled, int shadowOffsetX,
                        int shadowOffsetY);
    void Delete(int index);
    void Clear();
    void Assign(const TFontLabels& source);

    // The first label whose name equals name, ignoring letter case; -1 if none.
    int IndexOf(const std::string& name) const;

    // Resolves the font tags of line: each label's first tag is removed, and the last label
    // (in collection order) found in the line gives font and effect, where they are given.
    void ApplyTags(std::string& line, TFont* font, TAAEffect* effect) const;

    void Changed();
    bool IsTakenByOther(const std::string& name, const TFontLabel* self) const;

  private:
    std::vector<std::unique_ptr<TFontLabel>> items_;
};

class TUserLabel;
class TUserLabels;

// A tag that aligns a line or inserts a text.
class TUserLabel {
  public:
    // What the tag of a user label does.
    enum TLabelStyle {
        lsLeftJustify,
        lsCenter,
        lsRightJustify,
        lsRegOwner,
        lsRegOrganization,
        lsAppTitle,
        lsDate,
        lsTime,
        lsCustom
    };

    using TGetTextEvent = std::function<void(TUserLabel& sender, std::string& text)>;

    explicit TUserLabel(TUserLabels* collection = nullptr) : collection_(collection) {}
    TUserLabel(const TUserLabel&) = delete;
    TUserLabel& operator=(const TUserLabel&) = delete;

    TGetTextEvent OnGetText;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    TLabelStyle Style() const { return style_; }
    void SetStyle(TLabelStyle style);
    // The text of the style at this moment (empty for the alignments), as OnGetText leaves it.
    std::string Text();
    // Stored only while Style is lsCustom.
    void SetText(const std::string& text);
    std::string DisplayName() const { return name_; }
    TUserLabels* Collection() const { return collection_; }

    void Assign(const TUserLabel& source);

  private:
    friend class TUserLabels;
    void Changed();

    TUserLabels* collection_;
    std::string name_;
    TLabelStyle style_ = lsCustom;
    std::string text_;
};

// The user labels of a text. The registered owner and organization are read once, when the
// collection is made.
class TUserLabels {
  public:
    std::function<void()> OnChange;
    // The clock that date and time labels read (the system's local time unless set).
    std::function<QDateTime()> Now;

    TUserLabels();
    TUserLabels(const TUserLabels&) = delete;
    TUserLabels& operator=(const TUserLabels&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TUserLabel& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TUserLabel& operator[](int index) const {
        return *items_.at(static_cast<std::size_t>(index));
    }

    TUserLabel& Add();
    // nullptr, adding nothing, when the name is taken.
    TUserLabel* AddItem(const std::string& name, const std::string& text,
                        TUserLabel::TLabelStyle style);
    // Left, Center, Right, Owner, Organization, AppTitle, Date, Time.
    void AddStandardLabels();
    void Delete(int index);
    void Clear();
    void Assign(const TUserLabels& source);
    int IndexOf(const std::string& name) const;

    // Resolves the user-label tags of line: alignments set alignment, the others insert
    // their text where the tag stood (which the labels after them see).
    void ApplyTags(std::string& line, TAlignment& alignment);

    const std::string& RegisteredOwner() const { return owner_; }
    const std::string& RegisteredOrganization() const { return organization_; }
    QDateTime CurrentTime() const { return Now ? Now() : QDateTime::currentDateTime(); }

    void Changed();
    bool IsTakenByOther(const std::string& name, const TUserLabel* self) const;

  private:
    std::vector<std::unique_ptr<TUserLabel>> items_;
    std::string owner_;
    std::string organization_;
};

// Where a tag stands in line: "<" + name + ">" compared with ASCII letters in either case.
// std::string::npos when absent.
std::size_t FindTag(const std::string& line, const std::string& name);

// The machine's owner (the user's full name from the account database, else the login
// name) and organization (the ORGANIZATION environment variable).
std::string RegisteredOwnerName();
std::string RegisteredOrganizationName();

// A font for a label: face, height (negative: character height in pixels), colour, style.
TFont LabelFont(const char* face, int height, TColor color, bool bold = false, bool italic = false,
                std::uint8_t charset = DEFAULT_CHARSET);
// Appends a font label of that name and font and returns it.
TFontLabel& AddFontLabel(TFontLabels& fonts, const char* name, const TFont& font);

// The locale's long time format without its time-zone part, which a clock on screen lacks.
QString LongTimeFormat();

}  // namespace pelwick
