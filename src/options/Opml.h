#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pelwick {

// Feed entries of the options dialog's list are kept as name + " [" + address + "]"; these
// helpers build and split that text.
std::string FeedEntryText(const std::string& name, const std::string& address);
// The text before the first " [", or "" when there is none.
std::string FeedEntryName(std::string_view entry);
// The text after the first " [" without its last character (the closing bracket); "" when
// there is no " [".
std::string FeedEntryAddress(std::string_view entry);

// The current time in the user's long time format, read through the process clock.
std::string CurrentLongTime();
// The current date in the user's short date format, read through the process clock.
std::string CurrentShortDate();

// Makes a proposed feed name one that the settings file can hold and every reader can split:
// "=" becomes "-", line breaks and tabs become blanks, " [" becomes " (", a leading ";" or
// "[" is dropped and blanks at the ends are trimmed. An empty result becomes
// "notitle (" + time + ")".
std::string MendFeedName(std::string_view proposed, const std::string& timeText);

// The mended name, unique among the entries ignoring letter case (as settings keys are):
// " (" + time + ")" is appended when an entry already carries it, and then " (2)", " (3)", ...
// while that name is taken too.
std::string UniqueFeedName(std::string_view proposed, const std::vector<std::string>& entries,
                           const std::string& timeText);

// Decodes the references &amp; &lt; &gt; &quot; &apos;; anything else stays as it is.
std::string OpmlUnescape(std::string_view text);

// The exported document (one line, no line break) for the entries in list order.
std::string BuildOpmlDocument(const std::vector<std::string>& entries, const std::string& dateText);
// The file name with ".opml" appended when its last path component has no extension.
std::string OpmlFileName(const std::string& fileName);
// Writes the document for the entries, followed by CR LF, to fileName as given. Raises
// EFileError when the file cannot be written; an existing file is then left as it was.
void ExportOpml(const std::vector<std::string>& entries, const std::string& fileName);

struct TOpmlFeed {
    std::string Name;
    std::string Address;
};

// The feeds an OPML text names, in document order, with the names as the file gives them.
// A well-formed document is read as XML: every outline element with a non-empty xmlUrl is a
// feed, named by its text, else its title, else its address. Text that is not well-formed is
// scanned for outlines that begin with a text attribute in double quotes, each taking the
// next xmlUrl in double quotes. Text without "<opml " and without "<outline" names nothing.
std::vector<TOpmlFeed> ReadOpmlFeeds(std::string_view text);

// Whether text is an OPML document at all; one that names no feed still is.
bool IsOpmlText(std::string_view text);
// The message for a file that is not one.
std::string NotOpmlMessage(const std::string& fileName);

// Whether two feed addresses name the same feed, compared as URLs: the scheme and the host
// ignore letter case, and an empty path is "/".
bool SameFeedAddress(std::string_view a, std::string_view b);

struct TOpmlImport {
    // The entries to append, in order.
    std::vector<std::string> Added;
    // Feeds whose address the list (or an earlier outline of the file) already had.
    int Skipped = 0;
};

// What an import appends to entries: the feeds of text whose address is not listed yet,
// with their names made unique against the list as it grows.
TOpmlImport ImportOpml(std::string_view text, std::vector<std::string> entries,
                       const std::function<std::string()>& timeText);
// "Add feeds: N", and " (M already in the list)" when some were skipped.
std::string ImportMessage(const TOpmlImport& import);

}  // namespace pelwick
