#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QLabel;
class QPushButton;
class QSpinBox;

namespace pelwick {

class TAAFadeText;
class TAntiFreeze;
class TFeedDocument;
class TFeedFetcher;
class TFeedStore;
class THTTPClient;

// The options dialog. It loads the settings when first shown and keeps a working copy of the
// feed list: every address is downloaded and parsed before it is accepted. Save writes the
// list and the options and closes; Cancel closes without writing.
class TConfigForm : public QWidget {
    Q_OBJECT

  public:
    // The collapsed client height ends just above the separator; the expanded outer height.
    static constexpr int SeparatorTop = 320;
    static constexpr int ClientWidth = 381;
    static constexpr int ExpandedClientHeight = 528;
    static constexpr int ExpandedHeight = ExpandedClientHeight + 36;

    explicit TConfigForm(QWidget* parent = nullptr);
    ~TConfigForm() override;

    void FormShow();
    void button1Click();
    // While Add downloads, its button is Stop: the download ends at once and nothing is said.
    void StopClick();
    bool Adding() const { return adding_; }
    void httpStatus(const std::string& text);
    void feedlistClick();
    void up5Click();
    void down5Click();
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void FlatSpeedButton3Click();
    void FlatSpeedButton4Click();
    void FlatSpeedButton5Click();
    void FlatButton2Click();
    void SaveClick();
    void CancelClick();

    // A name the list and the settings file can hold, unique among the entries.
    std::string UniqueFeedName(const std::string& proposed) const;

    // The working list as entry texts and ticks, in list order.
    std::vector<std::string> Entries() const;
    bool IsTicked(int index) const;
    bool Expanded() const;

    TAAFadeText* AAFadeText1() const { return aaFadeText1_; }
    QPushButton* SaveButton() const { return saveButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QPushButton* AddButton() const { return addButton_; }
    // The address's label, which says how a download is going while Add runs.
    QLabel* StatusLine() const { return label1_; }
    QLineEdit* Edit1() const { return edit1_; }
    QListWidget* FeedList() const { return feedlist_; }
    QSpinBox* Spin1() const { return spin1_; }
    QSpinBox* Spin2() const { return spin2_; }
    // "Refresh feeds every N minutes": FeedRefresh, 0 for every pass.
    QSpinBox* RefreshSpin() const { return refreshSpin_; }
    QLineEdit* Edit2() const { return edit2_; }
    QCheckBox* RandomCheck() const { return randomCheck_; }
    QCheckBox* SubfoldersCheck() const { return subfoldersCheck_; }
    // The "Transition:" drop-down: each entry's data is the TransitionStyle it stands for.
    QComboBox* TransitionBox() const { return transitionBox_; }

    // Shows a failure to the user; a message box unless replaced (tests).
    std::function<void(const std::string& message)> ShowError;
    // The information message boxes (empty caption, OK, on top); replaceable for tests.
    std::function<void(const std::string& message)> ShowMessage;
    // The folder, open and save dialogs, opened in startFolder; each returns "" when the
    // user cancels.
    std::function<std::string(const std::string& startFolder)> ChooseFolder;
    std::function<std::string(const std::string& startFolder)> ChooseOpmlToOpen;
    std::function<std::string(const std::string& startFolder)> ChooseOpmlToSave;
    // Where the OPML dialogs open: the folder of the last file chosen, else the home folder
    // (never the working folder, which for a screen saver is anywhere).
    std::string OpmlFolder() const;
    // The text of the clipboard; replaceable for tests.
    std::function<std::string()> ClipboardText;
    // The current time in the long time format, for name suffixes.
    std::function<std::string()> TimeText;
    // Called when the dialog has closed (Save, Cancel or the caption's close button): the
    // program ends then.
    std::function<void()> OnClose;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildTitleStrip();
    void BuildFeedArea();
    void BuildOptionsArea();
    void BuildTransitionChoice();
    void BuildRefreshChoice();
    void InstallDialogs();
    void Collapse();
    void AddEntry(int row, const std::string& text, bool ticked);
    bool IsListed(const std::string& address) const;
    // Downloads address and loads it as a feed; a web page that announces a feed leads to
    // that feed, and address becomes its address. Returns "" or why it failed.
    std::string LoadFeed(std::string& address);

    // What Add's download is doing, on the address label's line.
    void ShowAddStatus(const std::string& text);
    void EndAddStatus();

    QFrame* panel1_;
    QLabel* label1_;
    bool adding_ = false;
    std::string lastOpmlFolder_;
    bool stopped_ = false;
    std::int64_t expected_ = 0;
    TAAFadeText* aaFadeText1_;
    QLineEdit* edit1_;
    QPushButton* addButton_;
    QListWidget* feedlist_;
    QPushButton* up5_;
    QPushButton* down5_;
    QPushButton* removeButton_;
    QPushButton* toggleButton_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
    QWidget* optionsArea_;
    QSpinBox* spin1_;
    QSpinBox* spin2_;
    QSpinBox* refreshSpin_;
    QLineEdit* edit2_;
    QCheckBox* randomCheck_;
    QCheckBox* subfoldersCheck_;
    QComboBox* transitionBox_;
    std::unique_ptr<THTTPClient> http_;
    std::unique_ptr<TFeedDocument> rss_;
    std::unique_ptr<TAntiFreeze> antiFreeze_;
    // Where an added feed's answer is kept for the wall, and the feeds no longer listed are
    // dropped from on Save.
    std::unique_ptr<TFeedStore> store_;
    std::unique_ptr<TFeedFetcher> fetcher_;
    // The bytes of the last download that loaded as a feed.
    std::string lastAnswer_;
    bool shownOnce_ = false;
    // Set once the dialog closes: a download it interrupted reports nothing.
    bool closing_ = false;
};

}  // namespace pelwick
