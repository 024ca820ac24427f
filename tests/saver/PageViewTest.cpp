#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

#include "feeds/FeedModel.h"
#include "saver/ItemCard.h"
#include "saver/PageView.h"
#include "support/TestSupport.h"

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace pelwick {
namespace {

std::string PngDataUrl(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + bytes.toBase64().toStdString();
}

// Pages in a temporary folder and a 400 x 300 view showing them.
class PageViewTest : public ::testing::Test {
  protected:
    PageViewTest() {
        view.resize(400, 300);
        view.OnDocumentComplete = [this] { ++completions; };
        view.OnResourceRequest = [this](const QUrl& name) { requests.push_back(name); };
    }
    std::string Page(const std::string& name, const std::string& body,
                     const std::string& bodyAttributes = "") {
        const std::string path = dir.path().toStdString() + "/" + name;
        test::WriteFile(
            path, "<html><head></head><body" + bodyAttributes + ">" + body + "</body></html>\r\n");
        return path;
    }
    void Show(const std::string& body, const std::string& bodyAttributes = "") {
        view.Navigate(Page("page.htm", body, bodyAttributes));
        QCoreApplication::processEvents();
    }
    QTemporaryDir dir;
    TPageView view;
    int completions = 0;
    std::vector<QUrl> requests;
};

TEST_F(PageViewTest, CompletionComesFromTheEventLoopOncePerLatestNavigation) {
    view.Navigate(Page("a.htm", "<p>a</p>"));
    EXPECT_EQ(completions, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(completions, 1);

    view.Navigate(Page("b.htm", "<p>b</p>"));
    view.Navigate(Page("c.htm", "<p>c</p>"));
    QCoreApplication::processEvents();
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(view.Document()->toPlainText().trimmed(), "c");

    // A page that cannot be read changes nothing and completes nothing.
    QTextDocument* shown = view.Document();
    view.Navigate(dir.path().toStdString() + "/missing.htm");
    view.Navigate(dir.path().toStdString());
    QCoreApplication::processEvents();
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(view.Document(), shown);
    EXPECT_EQ(view.Document()->toPlainText().trimmed(), "c");

    // Every navigation builds a new document.
    view.Navigate(Page("c.htm", "<p>c</p>"));
    EXPECT_NE(view.Document(), shown);
}

TEST_F(PageViewTest, ScrollSizesFollowTheContentAndTheBodyMargins) {
    EXPECT_EQ(view.ScrollHeight(), 0);  // nothing shown yet
    EXPECT_EQ(view.ScrollWidth(), 400);

    Show("<p>One short line.</p>");
    const int shortHeight = view.ScrollHeight();
    EXPECT_GT(shortHeight, 5);
    EXPECT_LT(shortHeight, 300);
    EXPECT_EQ(view.ScrollWidth(), 400);

    Show("<p>One short line.</p>", " topmargin=\"50\" bottommargin=\"30\" leftmargin=6");
    EXPECT_EQ(view.ScrollHeight(), shortHeight + 80);

    std::string lines;
    for (int i = 0; i < 60; ++i)
        lines += "<p>line " + std::to_string(i) + "</p>";
    Show(lines);
    EXPECT_GT(view.ScrollHeight(), 600);

    // A narrower view wraps a long paragraph into more lines.
    std::string paragraph = "<p>";
    for (int i = 0; i < 60; ++i)
        paragraph += "word ";
    Show(paragraph + "</p>");
    const int wide = view.ScrollHeight();
    view.resize(120, 300);
    EXPECT_GT(view.ScrollHeight(), wide);
}

TEST_F(PageViewTest, DataImagesAreShownAndSized) {
    Show("<p>x</p>");
    const int textOnly = view.ScrollHeight();
    Show("<p>x<img src=\"" + PngDataUrl(10, 200, Qt::green) + "\"></p>");
    EXPECT_GE(view.ScrollHeight(), textOnly + 150);
    EXPECT_EQ(view.ScrollWidth(), 400);

    Show("<img src=\"" + PngDataUrl(1000, 10, Qt::green) + "\">", " leftmargin=5 rightmargin=7");
    EXPECT_GE(view.ScrollWidth(), 1012);

    view.resize(200, 100);
    Show("<img src=\"" + PngDataUrl(50, 50, Qt::green) + "\">", " bgcolor=\"#1B1B1B\"");
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(150, 80), QColor(0x1B, 0x1B, 0x1B));
    EXPECT_TRUE(requests.empty());
}

TEST_F(PageViewTest, NoResourceIsEverReadFromDiskOrNetwork) {
    // A picture on disk that would show (red, 3000 pixels wide) if anything read it.
    QImage red(3000, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString redPath = dir.path() + "/red.png";
    ASSERT_TRUE(red.save(redPath));
    const std::string css = dir.path().toStdString() + "/style.css";
    test::WriteFile(css, "body { background-color: red }");
    const std::string redFile = redPath.toStdString();
    const std::string redUrl = QUrl::fromLocalFile(redPath).toString().toStdString();
#ifdef __linux__
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, redPath.toLocal8Bit().constData(), IN_OPEN), 0);
    ASSERT_GE(inotify_add_watch(watch, css.c_str(), IN_OPEN), 0);
#endif
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(dir.path());  // so that a relative source would find the picture

    std::string big = PngDataUrl(1, 1, Qt::red);
    big += std::string(3 * 1024 * 1024, 'A');
    const std::string body = "<link rel=stylesheet href=\"" + css + "\"><style>@import url(" + css +
                             "); p { background-image: url(" + redFile +
                             ") }</style>"
                             "<p>text</p><img src=\"" +
                             redFile + "\"><img src=red.png><IMG SRC=\"" + redUrl +
                             "\"><img/src=" + redFile +
                             "><img src=/dev/zero><img src=\"/etc/passwd\" alt=\"pw\">"
                             "<img src=\"http://127.0.0.1:9/x.png\"><img src=\"" +
                             big +
                             "\">"
                             "<img src=\"data:image/png;base64,AAAAbogus\"><table background=\"" +
                             redFile + "\"><tr><td background=red.png>cell</td></tr></table>";
    Show(body, " background=\"/dev/zero\" style=\"background-image:url(" + redFile + ")\"");
    const QImage shot = view.grab().toImage();
    const int width = view.ScrollWidth();
    QDir::setCurrent(oldCurrent);

    EXPECT_EQ(width, 400);  // the wide picture was not loaded
    bool anyRed = false;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            anyRed |= shot.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_FALSE(anyRed);
    EXPECT_NE(view.Document()->toPlainText().indexOf("text"), -1);
    EXPECT_NE(view.Document()->toPlainText().indexOf("pw"), -1);  // alt text instead
    EXPECT_FALSE(requests.empty());  // the stylesheet and backgrounds were asked for, refused
    for (const QUrl& name : requests)
        EXPECT_FALSE(name.toString().startsWith("pelwick-image:")) << name.toString().toStdString();
#ifdef __linux__
    char events[4096];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "a page resource was opened";
    close(watch);
#endif
}

struct TDirectionCase {
    const char* paragraph;  // the start of its text, to find it by
    Qt::LayoutDirection direction;
    bool atRight;
};

// Each paragraph of a card takes the direction of its own first strong character; the page
// says nothing of direction.
TEST(PageViewDirection, EachParagraphFollowsItsFirstStrongCharacter) {
    TRSSItem item;
    item.SetTitle("Title");
    item.SetDescription(
        "\u0645\u0631\u062d\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645."
        "<p>\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd.</p>"
        "<p>Hello world.</p>"
        "<p>2024: \u05e9\u05dc\u05d5\u05dd Pelwick.</p>"
        "<p>\u2068\u05e9\u05dc\u05d5\u05dd\u2069 Latin after an isolate.</p>");
    const std::string html = ItemPageText(item);
    TPageView view;
    view.resize(400, 300);
    view.ShowPage(html);
    view.ScrollHeight();  // lays the page out

    const TDirectionCase cases[] = {
        {"\u0645\u0631\u062d\u0628\u0627 \u0628", Qt::RightToLeft, true},
        {"\u05e9\u05dc\u05d5\u05dd \u05e2", Qt::RightToLeft, true},
        {"Hello world.", Qt::LeftToRight, false},
        {"2024: ", Qt::RightToLeft, true},
        {"\u2068", Qt::LeftToRight, false},
    };
    for (const TDirectionCase& c : cases) {
        SCOPED_TRACE(c.paragraph);
        QTextBlock block = view.Document()->begin();
        while (block.isValid() && !block.text().startsWith(QString::fromUtf8(c.paragraph)))
            block = block.next();
        ASSERT_TRUE(block.isValid());
        EXPECT_EQ(block.textDirection(), c.direction);
        ASSERT_GT(block.layout()->lineCount(), 0);
        const QTextLine line = block.layout()->lineAt(0);
        const QRectF text = line.naturalTextRect();
        ASSERT_LT(text.width(), line.width() - 20);  // room to tell the sides apart
        EXPECT_NEAR(c.atRight ? text.right() : text.left(),
                    c.atRight ? line.x() + line.width() : line.x(), 1.5);
    }
    // The page's bytes stay as written.
    EXPECT_EQ(html.find("dir=\"auto\""), std::string::npos);
    EXPECT_NE(html.find("<font color=\"#FFFFFF\">\u0645\u0631"), std::string::npos);
}

// A page that says which way its text runs is laid out as it says.
TEST(PageViewDirection, APageThatNamesDirectionsKeepsThem) {
    TPageView view;
    view.resize(400, 300);
    for (const char* attribute : {" dir=\"ltr\"", " DIR=ltr", " style=\"direction: ltr\""}) {
        SCOPED_TRACE(attribute);
        view.ShowPage(std::string("<html><body><p") + attribute +
                      ">\u0645\u0631\u062d\u0628\u0627 said left to right.</p></body></html>");
        EXPECT_EQ(view.Document()->begin().textDirection(), Qt::LeftToRight);
    }
    view.ShowPage("<html><body><p dir=\"rtl\">Latin said right to left.</p></body></html>");
    EXPECT_EQ(view.Document()->begin().textDirection(), Qt::RightToLeft);
}

TEST_F(PageViewTest, KeepsTheHintAndLetsMouseEventsThrough) {
    view.SetHint("http://example.com/item");
    Show("<p>x</p>");
    EXPECT_EQ(view.Hint(), "http://example.com/item");

    class TClickRecorder : public QWidget {
      public:
        int presses = 0;

      protected:
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    } parent;
    parent.resize(500, 400);
    TPageView child(&parent);
    child.setGeometry(50, 50, 300, 200);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QTest::mouseClick(parent.windowHandle(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(parent.presses, 1);
    EXPECT_EQ(child.focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace pelwick
