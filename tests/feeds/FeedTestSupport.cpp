#include "FeedTestSupport.h"

#include <cstdio>
#include <cstdlib>

#include "app/Exception.h"
#include "feeds/MemoryStream.h"

namespace pelwick::test {

namespace {

int& GuidCounter() {
    static int counter = 0;
    return counter;
}

std::string NumberedGuid() {
    char buf[48];
    std::snprintf(buf, sizeof buf, "{00000000-0000-0000-0000-%012d}", ++GuidCounter());
    return buf;
}

}  // namespace

TFixedClockAndGuids::TFixedClockAndGuids()
    : oldClock_(SetClock([] { return FixedNow; })), oldGenerator_(SetGuidGenerator(&NumberedGuid)) {
    GuidCounter() = 0;
}

TFixedClockAndGuids::~TFixedClockAndGuids() {
    SetClock(oldClock_);
    SetGuidGenerator(oldGenerator_);
}

std::string Rss(const std::string& channelBody) {
    return "<?xml version=\"1.0\"?>\n<rss version=\"2.0\"><channel>" + channelBody +
           "</channel></rss>";
}

std::string Podcast(const std::string& channelBody) {
    return "<?xml version=\"1.0\"?>\n<rss version=\"2.0\" itunes=\"yes\" "
           "xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\"><channel>" +
           channelBody + "</channel></rss>";
}

std::string Rdf(const std::string& body) {
    return std::string(
               "<?xml version=\"1.0\"?>\n<rdf:RDF "
               "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"") +
           RssOneNamespace + "\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">" + body +
           "</rdf:RDF>";
}

std::string Atom(const std::string& body) {
    return std::string("<?xml version=\"1.0\"?>\n<feed xmlns=\"") + AtomNamespace + "\">" + body +
           "</feed>";
}

std::string EntityBombDoctype() {
    std::string decl = "<!ENTITY a0 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>";
    for (int i = 1; i <= 10; ++i) {
        decl += "<!ENTITY a" + std::to_string(i) + " '";
        for (int k = 0; k < 10; ++k)
            decl += "&a" + std::to_string(i - 1) + ";";
        decl += "'>";
    }
    return "<!DOCTYPE r [" + decl + "]>";
}

std::string Load(TFeedDocument& feed, const std::string& bytes) {
    TMemoryStream stream(bytes);
    try {
        feed.LoadFromStream(stream);
    } catch (const Exception& e) {
        return e.Message().empty() ? "(empty message)" : e.Message();
    }
    return "";
}

TDateTime At(int year, int month, int day, int hour, int minute, int second) {
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time))
        return -1e9;
    return ComposeDateTime(date, time);
}

}  // namespace pelwick::test
