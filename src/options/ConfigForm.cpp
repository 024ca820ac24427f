#include "options/ConfigForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

#include "aatext/AAFadeText.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "app/Settings.h"
#include "feeds/AntiFreeze.h"
#include "feeds/FeedDiscovery.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedFetcher.h"
#include "feeds/FeedModel.h"
#include "feeds/FeedStore.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "options/Opml.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {

namespace {

const char* const WebPageMessage = "This address is a web page, not a feed.";

constexpr int EntryHeight = 18;
constexpr int OpmlAddressLimit = 1000;
constexpr const char* OpmlFilter = "OPML files (*.opml *.xml);;All files (*)";
constexpr const char* AddressPrompt = "Type the URL of the RSS you want to add:";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QPushButton* MakeButton(const char* text, QWidget* parent, const QRect& rect,
                        const char* hint = nullptr) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setGeometry(rect);
    if (hint) button->setToolTip(hint);
    return button;
}

TAAEffect& AddLabel(TFontLabels& fonts, const char* name, const TFont& font) {
    return AddFontLabel(fonts, name, font).Effect();
}

// The title strip's three lines: the product, its version and what it is.
void SetTitleFonts(TFontLabels& fonts) {
    {
        TAAEffect& e = AddLabel(fonts, "Text0", LabelFont("Verdana", -19, RGB(0, 0, 0), true));
        e.Shadow().SetEnabled(true);
        e.Shadow().SetOffsetX(1);
        e.Gradual().SetEnabled(true);
        e.Gradual().SetStyle(TAAGradual::gsTopToBottom);
        e.Gradual().SetStartColor(RGB(8, 8, 8));
        e.Gradual().SetEndColor(RGB(46, 92, 92));
        e.SetAlpha(95);
    }
    {
        TAAEffect& e = AddLabel(fonts, "Text1", LabelFont("Verdana", -13, RGB(65, 65, 65)));
        e.Shadow().SetOffsetX(1);
        e.Shadow().SetOffsetY(1);
        e.SetAlpha(90);
    }
    {
        TAAEffect& e = AddLabel(fonts, "Text2", LabelFont("Verdana", -13, RGB(0, 0, 255)));
        e.Shadow().SetEnabled(true);
        e.Shadow().SetOffsetX(1);
        e.Shadow().SetOffsetY(1);
        e.SetAlpha(90);
    }
}

}  // namespace

TConfigForm::TConfigForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      http_(std::make_unique<THTTPClient>()),
      rss_(std::make_unique<TFeedDocument>()),
      antiFreeze_(std::make_unique<TAntiFreeze>()),
      store_(std::make_unique<TFeedStore>(TFeedStore::DefaultFolder())),
      fetcher_(std::make_unique<TFeedFetcher>(*http_, *store_)) {
    setWindowTitle("Options");
    setWindowOpacity(240.0 / 255.0);
    BuildTitleStrip();
    BuildFeedArea();
    BuildOptionsArea();
    InstallDialogs();
    setFixedWidth(ClientWidth);
    Collapse();
}

// The raised strip across the top with the fading product lines.
void TConfigForm::BuildTitleStrip() {
    panel1_ = new QFrame(this);
    panel1_->setGeometry(0, 0, ClientWidth, 46);
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    aaFadeText1_ = new TAAFadeText(panel1_);
    aaFadeText1_->setGeometry(2, 2, ClientWidth - 4, 42);
    SetTitleFonts(aaFadeText1_->Fonts());
    aaFadeText1_->Text().SetTransparent(true);
    aaFadeText1_->Text().SetLineDelay(5000);
    aaFadeText1_->Text().SetFadeDelay(800);
    aaFadeText1_->Text().Lines().Assign(
        {"<Text0>Glimra VER Irirureridi", "<Text1>Version 2.1", "<Text2>Pelwick news wall"});
}

// The address field with Add, the feed list with its three buttons, the options toggle,
// Save, Cancel and the separator that ends the collapsed dialog.
void TConfigForm::BuildFeedArea() {
    label1_ = new QLabel(AddressPrompt, this);
    label1_->setGeometry(8, 52, 365, 16);
    edit1_ = new QLineEdit("http://www.", this);
    edit1_->setGeometry(8, 70, 300, 22);
    addButton_ = MakeButton("Add", this, QRect(314, 70, 59, 22));

    feedlist_ = new QListWidget(this);
    feedlist_->setGeometry(8, 98, 336, 180);
    feedlist_->setUniformItemSizes(true);
    up5_ = MakeButton("\u25B2", this, QRect(350, 98, 23, 23), "Move Up");
    down5_ = MakeButton("\u25BC", this, QRect(350, 124, 23, 23), "Move Down");
    removeButton_ = MakeButton("\u2715", this, QRect(350, 150, 23, 23), "Remove");

    toggleButton_ = MakeButton("Options && Hint >>", this, QRect(8, 288, 130, 24));
    saveButton_ = MakeButton("Save", this, QRect(226, 288, 70, 24));
    cancelButton_ = MakeButton("Cancel", this, QRect(303, 288, 70, 24));
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bevel->setGeometry(0, SeparatorTop, ClientWidth, 2);

    connect(addButton_, &QPushButton::clicked, this, [this] {
        if (adding_)
            StopClick();
        else
            button1Click();
    });
    // Enter in the address adds it; during a download it stops nothing.
    connect(edit1_, &QLineEdit::returnPressed, this, [this] {
        if (!adding_) button1Click();
    });
    connect(feedlist_, &QListWidget::itemClicked, this, [this] { feedlistClick(); });
    connect(up5_, &QPushButton::clicked, this, [this] { up5Click(); });
    connect(down5_, &QPushButton::clicked, this, [this] { down5Click(); });
    connect(removeButton_, &QPushButton::clicked, this, [this] { FlatSpeedButton1Click(); });
    connect(toggleButton_, &QPushButton::clicked, this, [this] { FlatSpeedButton2Click(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelClick(); });
    http_->OnStatus = [this](THTTPClient&, THTTPClient::THTTPStatus, const std::string& text) {
        httpStatus(text);
    };
    http_->OnWorkBegin = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t expected) {
        expected_ = expected;
    };
    http_->OnWork = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t count) {
        ShowAddStatus("Progress: " + std::to_string(count) + " of " + std::to_string(expected_));
    };
}

// Below the separator: the intervals, the picture folder, the random order, the OPML
// buttons and the hint.
void TConfigForm::BuildOptionsArea() {
    optionsArea_ = new QWidget(this);
    optionsArea_->setGeometry(0, SeparatorTop + 2, ClientWidth,
                              ExpandedClientHeight - SeparatorTop - 2);
    auto* label2 = new QLabel("Read Interval:", optionsArea_);
    label2->setGeometry(8, 8, 120, 20);
    spin1_ = new QSpinBox(optionsArea_);
    spin1_->setRange(1, 10000);
    spin1_->setGeometry(130, 8, 70, 20);
    auto* label3 = new QLabel("Image Interval:", optionsArea_);
    label3->setGeometry(8, 34, 120, 20);
    spin2_ = new QSpinBox(optionsArea_);
    spin2_->setRange(1, 10000);
    spin2_->setGeometry(130, 34, 70, 20);
    auto* label4 = new QLabel("Background images folder:", optionsArea_);
    label4->setGeometry(8, 60, 200, 16);
    edit2_ = new QLineEdit(optionsArea_);
    edit2_->setGeometry(8, 78, 330, 22);
    auto* folderButton = MakeButton("...", optionsArea_, QRect(344, 78, 29, 22),
                                    "Select background images folder...");
    // On the folder label's line, where it had room.
    subfoldersCheck_ = new QCheckBox("Include subfolders", optionsArea_);
    subfoldersCheck_->setGeometry(212, 58, 161, 20);
    randomCheck_ = new QCheckBox("Display RSS Feed in Random Sequence", optionsArea_);
    randomCheck_->setGeometry(8, 104, 360, 20);
    auto* loadOpml = MakeButton("Load Feeds from OPML", optionsArea_, QRect(8, 126, 140, 22));
    auto* saveOpml = MakeButton("Save Feeds to OPML", optionsArea_, QRect(154, 126, 130, 22));
    auto* clearList = MakeButton("Clear List", optionsArea_, QRect(290, 126, 83, 22));
    for (QPushButton* b : {loadOpml, saveOpml, clearList})
        b->setStyleSheet("color: blue");
    auto* hint = new QLabel(
        "Screensaver shortcuts hint: Press Spacebar to Pause; UP: Previous \n"
        "item;  Down: Next item; Left: Previous RSS; Right:Next RSS",
        optionsArea_);
    hint->setStyleSheet("color: teal; font-size: 10px");
    hint->setGeometry(8, 150, 368, 26);

    BuildTransitionChoice();
    BuildRefreshChoice();

    connect(loadOpml, &QPushButton::clicked, this, [this] { FlatSpeedButton3Click(); });
    connect(saveOpml, &QPushButton::clicked, this, [this] { FlatSpeedButton4Click(); });
    connect(clearList, &QPushButton::clicked, this, [this] { FlatSpeedButton5Click(); });
    connect(folderButton, &QPushButton::clicked, this, [this] { FlatButton2Click(); });
}

// Right of the two intervals, where the area had room: the cross-fade, a random style for
// every picture, then every style by number and name.
void TConfigForm::BuildTransitionChoice() {
    auto* label = new QLabel("Transition:", optionsArea_);
    label->setGeometry(212, 8, 161, 20);
    transitionBox_ = new QComboBox(optionsArea_);
    transitionBox_->setGeometry(212, 34, 161, 20);
    transitionBox_->addItem("Cross-fade", StyleCrossFade);
    transitionBox_->addItem("Random", 0);
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style)
        transitionBox_->addItem(Q(std::to_string(style) + " " + EffectTable[style].Name), style);
    // The names are longer than the box: the list opens as wide as they need. It is a
    // scrolling list of 20 rows below the box, not a column of 174 as tall as the screen.
    transitionBox_->setMaxVisibleItems(20);
    transitionBox_->setStyleSheet("QComboBox { combobox-popup: 0; }");
    transitionBox_->view()->setMinimumWidth(transitionBox_->view()->sizeHintForColumn(0) + 24);
}

// Below the hint, on a line the area grew by, so that nothing above it moved.
void TConfigForm::BuildRefreshChoice() {
    auto* before = new QLabel("Refresh feeds every", optionsArea_);
    before->setGeometry(8, 180, 120, 20);
    refreshSpin_ = new QSpinBox(optionsArea_);
    refreshSpin_->setRange(0, 10000);
    refreshSpin_->setGeometry(130, 180, 70, 20);
    refreshSpin_->setToolTip("0 asks every feed's server each time the feed comes round");
    auto* after = new QLabel("minutes", optionsArea_);
    after->setGeometry(206, 180, 100, 20);
}

// The message boxes, dialogs, clipboard and clock, each replaceable for tests.
void TConfigForm::InstallDialogs() {
    ShowError = [this](const std::string& message) {
        QMessageBox::critical(this, "Pelwick", Q(message));
    };
    ShowMessage = [this](const std::string& message) {
        QMessageBox box(QMessageBox::Information, "", Q(message), QMessageBox::Ok, this);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    };
    ChooseFolder = [this](const std::string& start) {
        return QFileDialog::getExistingDirectory(this, "", Q(start)).toStdString();
    };
    ChooseOpmlToOpen = [this](const std::string& start) {
        return QFileDialog::getOpenFileName(this, "", Q(start), OpmlFilter).toStdString();
    };
    ChooseOpmlToSave = [this](const std::string& start) {
        return QFileDialog::getSaveFileName(this, "", Q(start), OpmlFilter).toStdString();
    };
    ClipboardText = [] {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        return clipboard ? clipboard->text().toStdString() : std::string();
    };
    TimeText = [] { return CurrentLongTime(); };
}

TConfigForm::~TConfigForm() = default;

void TConfigForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    FormShow();
}

void TConfigForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    closing_ = true;
    try {
        if (http_->Connected()) http_->Disconnect();
    } catch (...) {
        // Ending the dialog matters more than a clean disconnect.
    }
    if (OnClose) OnClose();
}

void TConfigForm::Collapse() {
    optionsArea_->hide();
    setFixedHeight(SeparatorTop - 1);
}

bool TConfigForm::Expanded() const {
    return optionsArea_->isVisible() || height() > SeparatorTop;
}

void TConfigForm::AddEntry(int row, const std::string& text, bool ticked) {
    auto* item = new QListWidgetItem(Q(text));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    item->setSizeHint(QSize(0, EntryHeight));
    feedlist_->insertItem(row, item);
}

std::vector<std::string> TConfigForm::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(feedlist_->count()));
    for (int i = 0; i < feedlist_->count(); ++i)
        entries.push_back(feedlist_->item(i)->text().toStdString());
    return entries;
}

bool TConfigForm::IsTicked(int index) const {
    return feedlist_->item(index)->checkState() == Qt::Checked;
}

std::string TConfigForm::UniqueFeedName(const std::string& proposed) const {
    return pelwick::UniqueFeedName(proposed, Entries(), TimeText());
}

void TConfigForm::FormShow() {
    Collapse();
    // The application's title: a display name would be appended to every caption.
    QCoreApplication::setApplicationName("VER Irirureridi Options");
    aaFadeText1_->Loaded();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    if (!SettingsFile) LoadSettings();
    try {
        const std::string clip = ClipboardText ? ClipboardText() : std::string();
        if (clip.find("://") != std::string::npos) edit1_->setText(Q(clip));
    } catch (...) {
        // A clipboard that cannot be read leaves the field as it is.
    }
    spin1_->setValue(SaverOptions.BlogInterval);
    spin2_->setValue(SaverOptions.ImageInterval);
    refreshSpin_->setValue(SaverOptions.FeedRefresh);
    edit2_->setText(Q(SaverOptions.ImagePath));
    randomCheck_->setChecked(SaverOptions.RandomFeed);
    subfoldersCheck_->setChecked(SaverOptions.ImageSubfolders);
    // The first entry with the setting's value: the cross-fade shows as "Cross-fade".
    const int chosen = transitionBox_->findData(SaverOptions.TransitionStyle);
    transitionBox_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    feedlist_->clear();
    for (const std::string& name : SettingsFile->ReadSection(FeedsSection)) {
        const std::string entry =
            FeedEntryText(name, SettingsFile->ReadString(FeedsSection, name, ""));
        AddEntry(feedlist_->count(), entry, IsFeedUsed(entry));
    }
}

void TConfigForm::FlatSpeedButton2Click() {
    if (Expanded()) {
        Collapse();
    } else {
        optionsArea_->show();
        setFixedHeight(ExpandedClientHeight);
    }
}

void TConfigForm::httpStatus(const std::string& text) {
    setWindowTitle(Q("Verifying RSS: " + text));
    ShowAddStatus(text);
}

void TConfigForm::ShowAddStatus(const std::string& text) {
    if (adding_) label1_->setText(Q(text));
}

void TConfigForm::EndAddStatus() {
    adding_ = false;
    label1_->setText(AddressPrompt);
    addButton_->setText("Add");
}

void TConfigForm::StopClick() {
    if (!adding_) return;
    stopped_ = true;
    try {
        if (http_->Connected()) http_->Disconnect();
    } catch (...) {
        // The download is given up either way.
    }
}

bool TConfigForm::IsListed(const std::string& address) const {
    std::string listText;
    for (const std::string& e : Entries())
        listText += e + "\r\n";
    return listText.find("[" + address + "]") != std::string::npos;
}

namespace {

// Downloads address into stream: "" or why it failed.
std::string Download(THTTPClient& http, const std::string& address, TMemoryStream& stream) {
    try {
        if (http.Connected()) http.Disconnect();
        http.Get(address, stream);
        http.Disconnect();
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Loads stream as a feed: "" or why it is none.
std::string Parse(TFeedDocument& feed, TMemoryStream& stream) {
    try {
        stream.SetPosition(0);
        feed.LoadFromStream(stream);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

}  // namespace

std::string TConfigForm::LoadFeed(std::string& address) {
    TMemoryStream stream;
    if (std::string error = Download(*http_, address, stream); !error.empty()) return error;
    std::string error = Parse(*rss_, stream);
    if (error.empty()) {
        lastAnswer_ = stream.Bytes();
        return "";
    }
    // A site's home page: the feed it announces is what the user meant.
    const std::string feed = FindFeedLink(stream.Bytes(), address);
    if (feed.empty()) return IsWebPage(stream.Bytes()) ? WebPageMessage : error;
    if (stopped_) return EHTTPCancelled().what();
    address = feed;
    stream.Clear();
    if (std::string failed = Download(*http_, address, stream); !failed.empty()) return failed;
    error = Parse(*rss_, stream);
    if (error.empty()) lastAnswer_ = stream.Bytes();
    return error;
}

void TConfigForm::button1Click() {
    std::string address = edit1_->text().toStdString();
    if (IsListed(address)) {
        ShowMessage("RSS feed exists.");
        return;
    }
    setWindowTitle("Verifying RSS, please wait...");
    adding_ = true;
    stopped_ = false;
    expected_ = 0;
    addButton_->setText("Stop");
    ShowAddStatus("Verifying RSS, please wait...");
    const std::string error = LoadFeed(address);
    const bool loaded = error.empty();
    // Cancel or the close button interrupted the download: the program is ending.
    if (closing_) return;
    EndAddStatus();
    setWindowTitle("Options");
    if (stopped_) return;
    const int items = rss_->Items().Count();
    if (loaded && items > 0 && IsListed(address)) {
        ShowMessage("RSS feed exists.");  // the page's feed is listed already
    } else if (loaded && items > 0) {
        const std::string name = UniqueFeedName(rss_->ChannelTitle);
        AddEntry(0, FeedEntryText(name, address), true);
        // The wall's first pass shows this answer instead of downloading it again.
        fetcher_->StoreAnswer(address, lastAnswer_);
        feedlist_->setCurrentRow(0);
    } else if (!error.empty() || items > 0) {
        ShowMessage("Unabled to add RSS:\r\n\r\n" + error);
    } else {
        ShowMessage("Unabled to add RSS:\r\n\r\nthe RSS contains no articles.");
    }
}

void TConfigForm::feedlistClick() {
    const QListWidgetItem* item = feedlist_->currentItem();
    if (!item) return;
    edit1_->setText(Q(FeedEntryAddress(item->text().toStdString())));
}

void TConfigForm::up5Click() {
    const int row = feedlist_->currentRow();
    if (row <= 0) return;
    QListWidgetItem* item = feedlist_->takeItem(row);
    feedlist_->insertItem(row - 1, item);
    feedlist_->setCurrentRow(row - 1);
}

void TConfigForm::down5Click() {
    const int row = feedlist_->currentRow();
    if (row < 0 || row >= feedlist_->count() - 1) return;
    QListWidgetItem* item = feedlist_->takeItem(row);
    feedlist_->insertItem(row + 1, item);
    feedlist_->setCurrentRow(row + 1);
}

void TConfigForm::FlatSpeedButton1Click() {
    const int row = feedlist_->currentRow();
    if (row < 0) return;
    delete feedlist_->takeItem(row);
    if (feedlist_->count() == 0) return;
    feedlist_->setCurrentRow(std::min(row, feedlist_->count() - 1));
}

void TConfigForm::FlatSpeedButton5Click() {
    feedlist_->clear();
}

std::string TConfigForm::OpmlFolder() const {
    return DirectoryExists(lastOpmlFolder_) ? lastOpmlFolder_ : QDir::homePath().toStdString();
}

namespace {

std::string FolderOf(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of(PathDelim);
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

}  // namespace

void TConfigForm::FlatButton2Click() {
    const std::string path = SaverOptions.ImagePath;
    std::string start = GetShellFolder("My Pictures");
    if (DirectoryExists(path) && path != ProgramFolder()) start = path;
    if (!DirectoryExists(start)) start = QDir::homePath().toStdString();
    const std::string chosen = ChooseFolder(start);
    if (!chosen.empty()) edit2_->setText(Q(chosen));
}

void TConfigForm::FlatSpeedButton3Click() {
    const std::string fileName = ChooseOpmlToOpen(OpmlFolder());
    if (fileName.empty()) return;
    lastOpmlFolder_ = FolderOf(fileName);
    std::string text;
    try {
        text = ReadFileBytes(fileName);
    } catch (const std::exception&) {
        // An unreadable file ends the import without a message.
        return;
    }
    if (!IsOpmlText(text)) {
        ShowMessage(NotOpmlMessage(fileName));
        return;
    }
    const TOpmlImport import = ImportOpml(text, Entries(), TimeText);
    for (const std::string& entry : import.Added)
        AddEntry(feedlist_->count(), entry, true);
    ShowMessage(ImportMessage(import));
}

void TConfigForm::FlatSpeedButton4Click() {
    const std::string chosen = ChooseOpmlToSave(OpmlFolder());
    if (chosen.empty()) return;
    lastOpmlFolder_ = FolderOf(chosen);
    try {
        ExportOpml(Entries(), OpmlFileName(chosen));
    } catch (const Exception& e) {
        ShowError(e.Message());
    }
}

void TConfigForm::SaveClick() {
    const std::string folder = edit2_->text().toStdString();
    if (!folder.empty() && DirectoryExists(folder))
        SaverOptions.ImagePath = IncludeTrailingPathDelimiter(folder);
    SaverOptions.BlogInterval = spin1_->value();
    SaverOptions.ImageInterval = spin2_->value();
    SaverOptions.FeedRefresh = refreshSpin_->value();
    SaverOptions.RandomFeed = randomCheck_->isChecked();
    SaverOptions.ImageSubfolders = subfoldersCheck_->isChecked();
    SaverOptions.TransitionStyle = transitionBox_->currentData().toInt();
    if (!SettingsFile) LoadSettings();
    SettingsFile->EraseSection(FeedsSection);
    SettingsFile->EraseSection(UseFeedSection);
    std::vector<std::string> addresses;
    for (int i = 0; i < feedlist_->count(); ++i) {
        const std::string entry = feedlist_->item(i)->text().toStdString();
        const std::string name = FeedEntryName(entry);
        std::string address;
        const std::size_t pos = entry.find(" [");
        if (pos != std::string::npos) {
            address = entry.substr(pos + 2, OpmlAddressLimit);
            if (!address.empty()) address.pop_back();
        }
        SettingsFile->WriteString(FeedsSection, name, address);
        addresses.push_back(address);
        SettingsFile->WriteInteger(UseFeedSection, name, IsTicked(i) ? 1 : 0);
    }
    try {
        SaveSettings();
    } catch (const Exception& e) {
        // The dialog stays open so that nothing the user set is lost.
        ShowError(e.Message());
        return;
    }
    store_->Keep(addresses);
    close();
}

void TConfigForm::CancelClick() {
    close();  // the close disconnects a running download and writes nothing
}

}  // namespace pelwick
