#include "app/ProgramData.h"

#include "app/AppDir.h"
#include "app/Colors.h"
#include "app/Logging.h"
#include "app/TextFile.h"
#include "app/Worker.h"
#include "buttons/ButtonStore.h"
#include "lists/ListStore.h"
#include "mail/AddressBook.h"
#include "mail/EMailLog.h"
#include "mail/MailSession.h"
#include "mail/PasswordStore.h"
#include "organiser/HistoryStore.h"
#include "organiser/OfflineStore.h"

#include <QFutureWatcher>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Pages moved into the history tree per turn of the event loop: a few milliseconds of work,
// so a page that is loading meanwhile is never held up for long.
constexpr int HistoryBatch = 4000;

// The file's bytes and lines, freed once the tree holds its nodes, would otherwise stay with
// the process: the worker thread's heap keeps what it freed.
void releaseFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

ProgramData::ProgramData(TGlobals &globals, const QString &appDir, QObject *parent)
    : QObject(parent), globals_(globals), appDir_(appDir),
      history_(std::make_unique<THistoryStore>()), lists_(std::make_unique<TListStore>(globals)),
      buttons_(std::make_unique<TButtonStore>()), offline_(std::make_unique<TOfflineStore>()),
      addressBook_(std::make_unique<AddressBook>(appDir)),
      emailLog_(std::make_unique<EMailLog>(appDir)),
      passwords_(std::make_unique<PasswordStore>(
          qEnvironmentVariableIsEmpty("QUILLMERE_NO_SECRET_STORE"))),
      mailSession_(std::make_unique<MailSession>(appDir, passwords_.get()))
{
    globals_.AppDir = appDir;
    offline_->setFolder(webPagesDir());
}

ProgramData::~ProgramData() = default;

QString ProgramData::filePath(const QString &name) const
{
    return TextFile::resolveNoCase(appDir_, name);
}

QString ProgramData::webPagesDir() const
{
    return filePath(QStringLiteral("WebPages"));
}

std::optional<QString> ProgramData::prepareFolder()
{
    globals_.AppDir = appDir_;
    const auto error = AppDirectory::ensureWebPages(appDir_);
    // The folder may have come into being under the name written, whatever case was asked.
    offline_->setFolder(webPagesDir());
    return error;
}

std::optional<QString> ProgramData::loadOptions()
{
    const QString path = filePath(QStringLiteral("Options.INI"));
    const bool complete = Options::LoadOptions(path, globals_, rect_);
    optionsLoaded_ = true;
    emit optionsChanged();
    if (complete)
        return std::nullopt;
    return saveOptions();
}

std::optional<QString> ProgramData::saveOptions()
{
    if (!optionsLoaded_)
        return std::nullopt;
    const auto error =
        Options::SaveOptions(filePath(QStringLiteral("Options.INI")), globals_, rect_);
    if (error)
        qCWarning(lcBrowse, "Options not saved: %s", qPrintable(*error));
    return error;
}

bool ProgramData::loadColors()
{
    const bool complete =
        Colors::LoadColors(filePath(QString::fromLatin1(Colors::FileName)), globals_);
    emit colorsChanged();
    emit settingsChanged();
    return complete;
}

std::optional<QString> ProgramData::saveColors()
{
    const auto error =
        Colors::SaveColors(filePath(QString::fromLatin1(Colors::FileName)), globals_);
    if (error)
        qCWarning(lcBrowse, "Colours not saved: %s", qPrintable(*error));
    return error;
}

TListStore &ProgramData::lists()
{
    finishListsLoad();
    return *lists_;
}

std::optional<QString> ProgramData::loadLists()
{
    finishListsLoad();
    const auto error = lists_->LoadListsPanel();
    if (error)
        qCWarning(lcLists, "%s", qPrintable(*error));
    emit listsChanged();
    return error;
}

std::optional<QString> ProgramData::saveListDetails()
{
    finishListsLoad();
    const auto error = lists_->SaveListDetails();
    if (error)
        qCWarning(lcLists, "List details not saved: %s", qPrintable(*error));
    return error;
}

std::optional<QString> ProgramData::loadHistory()
{
    const auto error = history_->LoadHistory(filePath(THistoryStore::FileName));
    if (error)
        qCWarning(lcHistory, "%s", qPrintable(*error));
    emit historyChanged();
    return error;
}

std::optional<QString> ProgramData::saveHistory()
{
    const auto error = history_->SaveHistory(filePath(THistoryStore::FileName));
    if (error)
        qCWarning(lcHistory, "History not saved: %s", qPrintable(*error));
    return error;
}

void ProgramData::addTodayNode()
{
    history_->AddTodayNode();
}

void ProgramData::beginLoadingHistory()
{
    history_->beginLoad(filePath(THistoryStore::FileName));
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        fillHistory();
    });
    watcher->setFuture(history_->whenRead());
}

void ProgramData::fillHistory()
{
    if (!history_->fillSome(HistoryBatch)) {
        QTimer::singleShot(0, this, &ProgramData::fillHistory);
        return;
    }
    history_->AddTodayNode();
    releaseFreedMemory();
    const auto error = history_->loadError();
    if (error)
        qCWarning(lcHistory, "%s", qPrintable(*error));
    emit historyChanged();
    emit historyLoaded(error.value_or(QString()));
}

void ProgramData::beginLoadingLists()
{
    finishListsLoad();
    listsLoading_ = true;
    listsReading_ = Worker::run([list = lists_->listFilePath(), detail = lists_->detailFilePath()] {
        return TListStore::readFiles(list, detail);
    });
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        finishListsLoad();
    });
    watcher->setFuture(QFuture<void>(listsReading_));
}

void ProgramData::finishListsLoad()
{
    if (!listsLoading_)
        return;
    listsLoading_ = false;
    const auto error = lists_->applyFiles(listsReading_.result());
    listsReading_ = QFuture<TListStore::Files>();
    if (error)
        qCWarning(lcLists, "%s", qPrintable(*error));
    emit listsChanged();
    emit listsLoaded(error.value_or(QString()));
}

bool ProgramData::loadingFiles() const
{
    return listsLoading_ || history_->loading();
}

void ProgramData::loadButtons()
{
    buttons_->LoadButtonBar(appDir_);
    emit buttonsChanged();
}

void ProgramData::loadOffline()
{
    offline_->LoadOfflinePanel();
}

void ProgramData::RecordVisit(const QString &title, const QString &address)
{
    if (!history_->RecordVisit(title, address))
        return;
    globals_.HistoryChanged = true;
    emit historyChanged();
}

void ProgramData::addSavedPage(const QString &title)
{
    offline_->AppendSavedNode(title);
}

void ProgramData::noteColorsChanged()
{
    emit colorsChanged();
    emit settingsChanged();
}

void ProgramData::noteOptionsChanged()
{
    emit optionsChanged();
    emit settingsChanged();
}

void ProgramData::noteListsChanged()
{
    emit listsChanged();
}

void ProgramData::noteButtonsChanged()
{
    emit buttonsChanged();
}

void ProgramData::noteHistoryChanged()
{
    emit historyChanged();
}
