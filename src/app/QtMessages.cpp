#include "app/QtMessages.h"

#include <QString>
#include <array>
#include <cstdlib>

namespace pelwick {
namespace {

// Categories Qt's font database, font matching and the platform's font code log under.
constexpr std::array<std::string_view, 3> FontCategories = {"qt.text.font.db", "qt.text.font.match",
                                                            "qt.qpa.fonts"};

// Font reports Qt logs under the default category.
constexpr std::array<std::string_view, 3> FontTexts = {
    "OpenType support missing for", "QFontDatabase:", "Qt no longer ships fonts"};

QtMessageHandler previousHandler = nullptr;
bool debugMessages = false;

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const std::string_view category = context.category ? context.category : "";
    if (!QtMessagePasses(type, category, std::string_view(bytes.constData(), bytes.size()),
                         debugMessages))
        return;
    if (previousHandler) previousHandler(type, context, text);
}

}  // namespace

bool QtMessagePasses(QtMsgType type, std::string_view category, std::string_view text, bool debug) {
    if (debug || type == QtFatalMsg) return true;
    for (std::string_view font : FontCategories)
        if (category == font) return false;
    for (std::string_view font : FontTexts)
        if (text.find(font) != std::string_view::npos) return false;
    return true;
}

void FilterQtMessages() {
    const char* debug = std::getenv("PELWICK_DEBUG");
    debugMessages = debug && *debug && std::string_view(debug) != "0";
    previousHandler = qInstallMessageHandler(Filter);
}

}  // namespace pelwick
