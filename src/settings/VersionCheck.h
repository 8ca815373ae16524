#pragma once
// Installed version against the web host's version page, and the update that downloads, checks
// and starts the installer. The settings window binds its version label and progress bar here.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class VersionCheck : public QObject {
  Q_OBJECT

 public:
  enum class Colour { Black, Red };
  // Starts the checked installer with its parameters text; tests put a recorder here.
  using Starter = std::function<void(const QString& file, const QString& parameters)>;

  explicit VersionCheck(QObject* parent = nullptr);

  static QString PageUrl();        // "http://" + VersionHost + "/ver.html?name=TalvenOrder"
  static QString DownloadTarget();  // TempFolder() + "TalvenOrderSetup.exe"

  void SetStarter(Starter starter) { starter_ = std::move(starter); }
  void SetPageUrl(const QString& url) { pageUrl_ = url; }

  // Blocks while the page is fetched; an unreachable page leaves an empty black label.
  void Check();
  // The label's click: only an update-needed label asks, downloads, checks and starts.
  void Click();

  const QString& LabelText() const { return text_; }
  Colour LabelColour() const { return colour_; }
  bool LabelClickable() const { return colour_ == Colour::Red; }
  // A value of the page by name, any case, first line counting; empty when missing.
  QString PageValue(const QString& name) const;

 signals:
  void LabelChanged();
  void BusyChanged(bool busy);  // hourglass over the download
  void ProgressBegin(qint64 maximum);
  void ProgressWork(qint64 position);
  void ProgressEnd();

 private:
  void SetLabel(const QString& text, Colour colour);
  bool DownloadAndVerify(const QString& target);

  QString pageUrl_;
  Starter starter_;
  QStringList newVersion_;  // the page's lines, for the click
  QString text_;
  Colour colour_ = Colour::Black;
};
