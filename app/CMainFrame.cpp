#include "CMainFrame.h"

#include "AppSettings.h"
#include "CAboutDlg.h"
#include "CApplyHistoryDlg.h"
#include "CCardNamesDlg.h"
#include "CClaimantDlg.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CListCtrlEx.h"
#include "CManualDlg.h"
#include "CReaderCheckDlg.h"
#include "CardIdentity.h"
#include "CardReadCommand.h"
#include "CommandTable.h"
#include "CsvCommand.h"
#include "FileCommands.h"
#include "GuiCardRead.h"
#include "HistoryCommands.h"
#include "PrintCommands.h"
#include "Prompts.h"
#include "RecentFiles.h"
#include "StatusPanes.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>
#include <memory>

namespace
{
// The window's layout, in the user's own settings file.
std::unique_ptr<QSettings> LayoutStore()
{
    auto store = AppSettings::OpenUserStore();
    store->beginGroup(QStringLiteral("Window"));
    return store;
}

QString DroppedClaim(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}
} // namespace

QString CMainFrame::WindowTitle()
{
    return QStringLiteral("Fenwir  Lite - 非接触ICカード交通費精算書作成システム");
}

CMainFrame::CMainFrame(AppSettings& settings, CCorvaneDoc& doc, Prompts& prompts,
                       ReaderEnvironment& reader, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_doc(doc), m_prompts(prompts), m_reader(reader)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(WindowTitle());
    setWindowIcon(QIcon::fromTheme(QStringLiteral("fenwir-lite")));
    setMinimumSize(520, 380);
    setAcceptDrops(true);

    m_commands = new CommandTable(this);
    m_recent = new RecentFiles(m_settings.MRUMax, this);
    m_recent->Load();
    m_files = new FileCommands(m_doc, m_settings, m_prompts, *m_recent, this);
    m_commands->BuildMenus(menuBar(), m_recent->Menu());
    for (QAction* action : menuBar()->actions())
        addAction(action);
    BuildToolBars();
    BuildStatusBar();
    m_form = new CCorvaneForm(m_doc, m_settings, m_prompts, this);
    m_form->SetContextMenu(m_commands->BuildContextMenu(this));
    setCentralWidget(m_form);
    m_printing = new PrintCommands(m_doc, *m_form, m_settings, m_prompts, *m_files, this);
    m_printing->SetClaimantEditor([this] { return EditClaimant(); });
    m_csv = std::make_unique<CsvCommand>(m_doc, m_settings, m_prompts, this);
    m_csv->SetPeriod([this] { return m_form->Filter(); });
    m_csv->SetStatus([this](const QString& text) { m_panes->showMessage(text, 15000); });
    Wire();
    UpdateCommands();
    ShowDocument();
    resize(DefaultSize());
    FitOnScreen();
}

QSize CMainFrame::DefaultSize() const
{
    // Every column of the list in sight, with the frame around it.
    return QSize(m_form->ListWidth() + 40, 680);
}

void CMainFrame::FitOnScreen()
{
    const QScreen* display = screen();
    if (!display)
        return;
    // Leave room for the window manager's frame around the window.
    const QRect area = display->availableGeometry().adjusted(0, 0, -16, -40);
    setMinimumSize(std::min(520, area.width()), std::min(380, area.height()));
    KeepStatusBarWhole();
    resize(size().boundedTo(area.size()));
    QRect placed = frameGeometry();
    if (!area.contains(placed)) {
        placed.moveLeft(std::clamp(placed.left(), area.left(),
                                   std::max(area.left(), area.right() - placed.width())));
        placed.moveTop(std::clamp(placed.top(), area.top(),
                                  std::max(area.top(), area.bottom() - placed.height())));
        move(placed.topLeft());
    }
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::KeepStatusBarWhole()
{
    const QScreen* display = screen();
    const int screenWidth = display ? display->availableGeometry().width() - 16 : 520;
    const int least = std::min(std::max(520, m_panes->minimumSizeHint().width()), screenWidth);
    if (minimumWidth() != least)
        setMinimumWidth(least);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The panes' texts and buttons set what the status bar needs, known once
    // the bar has laid them out.
    if (watched == m_panes && event->type() == QEvent::LayoutRequest)
        QMetaObject::invokeMethod(this, &CMainFrame::KeepStatusBarWhole, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::BuildToolBars()
{
    const auto bar = [this](const QString& name, const QString& title,
                            std::initializer_list<const char*> commands) {
        QToolBar* toolBar = addToolBar(title);
        toolBar->setObjectName(name);
        toolBar->setIconSize(QSize(16, 16));
        for (const char* command : commands) {
            if (*command == '\0')
                toolBar->addSeparator();
            else
                toolBar->addAction(m_commands->Get(QLatin1String(command)));
        }
    };
    bar(QStringLiteral("standardToolBar"), QStringLiteral("標準"),
        {"ID_CARD_READ", "", "ID_FILE_NEW", "ID_FILE_OPEN", "ID_FILE_SAVE", "", "ID_FILE_PRINT"});
    bar(QStringLiteral("listEditToolBar"), QStringLiteral("リスト編集"),
        {"ID_LIST_UP", "ID_LIST_DOWN", "", "ID_LIST_ADD", "ID_LIST_EDIT", "ID_LIST_DELETE"});
}

void CMainFrame::BuildStatusBar()
{
    m_panes = new StatusPanes(this);
    setStatusBar(m_panes);
    m_panes->installEventFilter(this);
    m_panes->AddButtonGroup(QStringLiteral("リスト表示設定"),
                            {m_commands->Get(QStringLiteral("ID_VIEW_GRID")),
                             m_commands->Get(QStringLiteral("ID_VIEW_ZEBRA"))});
    m_panes->AddButtonGroup(QStringLiteral("自動ファイル設定"),
                            {m_commands->Get(QStringLiteral("ID_AUTO_SAVE")),
                             m_commands->Get(QStringLiteral("ID_AUTO_LOAD"))});
}

void CMainFrame::Wire()
{
    const auto on = [this](const char* name, auto handler) {
        connect(m_commands->Get(QLatin1String(name)), &QAction::triggered, this, handler);
    };
    on("ID_CARD_READ", [this] { ReadCard(); });
    on("ID_FILE_NEW", [this] { m_files->New(); });
    on("ID_FILE_OPEN", [this] { m_files->Open(); });
    on("ID_FILE_SAVE", [this] { m_files->Save(); });
    on("ID_FILE_SAVE_AS", [this] { m_files->SaveAs(); });
    on("ID_CSV_SAVE", [this] { m_csv->Run(); });
    on("ID_FILE_PRINT", [this] { m_printing->Print(); });
    on("ID_FILE_PRINT_PREVIEW", [this] { m_printing->Preview(); });
    on("ID_FILE_PRINT_SETUP", [this] { m_printing->PageSetup(); });
    on("ID_FILE_PDF", [this] { m_printing->SavePdf(); });
    on("ID_APP_ABOUT", [this] { CAboutDlg(this).exec(); });
    on("ID_HELP_USAGE", [this] { ShowManual(); });
    on("ID_VIEW_APPLY_HISTORY", [this] { ShowApplications(); });
    on("ID_CLAIMANT", [this] { EditClaimant(); });
    on("ID_CARD_NAMES", [this] { NameCards(); });
    on("ID_READER_CHECK", [this] { CReaderCheckDlg(m_reader, this).exec(); });
    on("ID_APP_EXIT", [this] { close(); });
    on("ID_LIST_UP", [this] { m_form->MoveSelectedUp(); });
    on("ID_LIST_DOWN", [this] { m_form->MoveSelectedDown(); });
    on("ID_LIST_EDIT", [this] { m_form->EditSelected(); });
    on("ID_LIST_ADD", [this] { m_form->AddLine(); });
    on("ID_LIST_DELETE", [this] { m_form->DeleteSelected(); });
    on("ID_LIST_CORRECT_STATION", [this] { m_form->CorrectSelected(); });
    on("ID_LIST_CONFIRM_VISIT", [this] { m_form->ConfirmSelectedVisits(); });

    QAction* grid = m_commands->Get(QStringLiteral("ID_VIEW_GRID"));
    grid->setChecked(m_settings.ListGridView != 0);
    connect(grid, &QAction::toggled, this, [this](bool on) {
        m_settings.ListGridView = on ? 1 : 0;
        m_form->SetGrid(on);
    });
    QAction* zebra = m_commands->Get(QStringLiteral("ID_VIEW_ZEBRA"));
    zebra->setChecked(m_settings.ListZebraView != 0);
    connect(zebra, &QAction::toggled, this, [this](bool on) {
        m_settings.ListZebraView = on ? 1 : 0;
        m_form->SetZebra(on);
    });
    QAction* autoSave = m_commands->Get(QStringLiteral("ID_AUTO_SAVE"));
    autoSave->setChecked(m_settings.AutoSave != 0);
    connect(autoSave, &QAction::toggled, this,
            [this](bool on) { m_settings.AutoSave = on ? 1 : 0; });
    QAction* autoLoad = m_commands->Get(QStringLiteral("ID_AUTO_LOAD"));
    autoLoad->setChecked(m_settings.AutoLoad != 0);
    connect(autoLoad, &QAction::toggled, this,
            [this](bool on) { m_settings.AutoLoad = on ? 1 : 0; });
    QAction* statusBarAction = m_commands->Get(QStringLiteral("ID_VIEW_STATUS_BAR"));
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, m_panes, &QWidget::setVisible);

    connect(m_form, &CCorvaneForm::StateChanged, this, &CMainFrame::UpdateCommands);
    connect(m_form, &CCorvaneForm::Status, this,
            [this](const QString& text) { m_panes->showMessage(text, 15000); });
    connect(m_form, &CCorvaneForm::ReadCardRequested,
            m_commands->Get(QStringLiteral("ID_CARD_READ")), &QAction::trigger);
    // A claim made or opened has no card read yet.
    connect(&m_doc, &CCorvaneDoc::LinesReset, this,
            [this] { m_panes->ShowCardStatus(QString(), -1); });
    connect(&m_doc, &CCorvaneDoc::ModifiedChanged, this, &CMainFrame::ShowDocument);
    connect(&m_doc, &CCorvaneDoc::FileChanged, this, &CMainFrame::ShowDocument);
    connect(m_printing, &PrintCommands::Status, this,
            [this](const QString& text) { m_panes->showMessage(text, 15000); });
    // Told once the window is up: the history is read while it is made.
    connect(
        &m_doc, &CCorvaneDoc::HistoryProblemFound, this,
        [this](const QString& text) {
            m_prompts.Ask(text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        },
        Qt::QueuedConnection);
    connect(&m_doc, &CCorvaneDoc::LeftRecord, this, [this] {
        m_panes->showMessage(QStringLiteral("申請の記録を変更したため、新しい無題の交通費情報に"
                                            "なりました（記録は元のまま残っています）"),
                             15000);
    });
    QUndoStack& undo = m_doc.UndoStack();
    QAction* undoAction = m_commands->Get(QStringLiteral("ID_EDIT_UNDO"));
    QAction* redoAction = m_commands->Get(QStringLiteral("ID_EDIT_REDO"));
    connect(undoAction, &QAction::triggered, &undo, &QUndoStack::undo);
    connect(redoAction, &QAction::triggered, &undo, &QUndoStack::redo);
    connect(&undo, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&undo, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(&undo, &QUndoStack::undoTextChanged, undoAction, [undoAction](const QString& what) {
        undoAction->setText(what.isEmpty() ? QStringLiteral("元に戻す(&U)")
                                           : QStringLiteral("元に戻す(&U): %1").arg(what));
    });
    connect(&undo, &QUndoStack::redoTextChanged, redoAction, [redoAction](const QString& what) {
        redoAction->setText(what.isEmpty() ? QStringLiteral("やり直し(&R)")
                                           : QStringLiteral("やり直し(&R): %1").arg(what));
    });
    connect(m_recent, &RecentFiles::OpenRequested, this,
            [this](const QString& path) { m_files->OpenPath(path); });
}

void CMainFrame::UpdateCommands()
{
    m_commands->UpdateEnabled(m_form->RowCount(), static_cast<int>(m_doc.Lines().size()),
                              m_form->CheckedCount(), m_form->CanCorrectSelected());
    m_panes->ShowClaim(m_form->CheckedCount(), m_form->CheckedTotal());
    m_commands->Get(QStringLiteral("ID_LIST_CONFIRM_VISIT"))
        ->setEnabled(m_form->SelectedSuggestions() > 0);
}

void CMainFrame::ShowApplications()
{
    HistoryCommands history(m_doc, this);
    CApplyHistoryDlg dialog(history.Access(), m_prompts, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.SelectedPath().isEmpty())
        m_files->OpenPath(dialog.SelectedPath());
}

void CMainFrame::ShowManual()
{
    // One window, beside the main window, raised when asked again.
    auto* manual = findChild<CManualDlg*>();
    if (!manual) {
        manual = new CManualDlg(this);
        manual->setAttribute(Qt::WA_DeleteOnClose);
    }
    manual->show();
    manual->raise();
    manual->activateWindow();
}

bool CMainFrame::EditClaimant()
{
    CClaimantDlg dialog({m_settings.PostName, m_settings.IdNumber, m_settings.Name}, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const auto claimant = dialog.Result();
    m_settings.PostName = claimant[0];
    m_settings.IdNumber = claimant[1];
    m_settings.Name = claimant[2];
    return true;
}

void CMainFrame::TakeHandedOver(const QString& file)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (file.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, [this, file] { TakeHandedOver(file); });
        return;
    }
    m_files->OpenPath(file);
}

void CMainFrame::NameCards()
{
    // The claim's cards, newest use first, then the others named before; a
    // card read under several IDs is one card, listed once.
    const CardIdGroups groups = m_doc.CardGroups();
    std::vector<CCardNamesDlg::Card> cards;
    const auto known = [&](const QString& idm) {
        return std::find_if(cards.begin(), cards.end(), [&](const CCardNamesDlg::Card& card) {
            return groups.SameCard(card.idm, idm);
        });
    };
    const auto add = [&](const QString& idm, const QDate& used) {
        auto card = known(idm);
        if (card != cards.end()) {
            card->lastUse = std::max(card->lastUse, used);
            return;
        }
        QStringList ids = groups.IdsOf(idm);
        const QString first = ids.takeFirst();
        QString name;
        for (const QString& id : groups.IdsOf(idm))
            if (name.isEmpty())
                name = m_settings.CardNameOf(id);
        cards.push_back({first, name, used, ids});
    };
    for (const auto& line : m_doc.Lines())
        if (!line->IsManual())
            add(CardIdHex(line->idm), QDateTime::fromSecsSinceEpoch(line->dateTime).date());
    std::sort(cards.begin(), cards.end(),
              [](const auto& a, const auto& b) { return a.lastUse > b.lastUse; });
    for (const QString& entry : m_settings.CardNames)
        add(entry.section(QLatin1Char('='), 0, 0), QDate());
    CCardNamesDlg dialog(std::move(cards), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (const auto& [idm, name] : dialog.Result()) {
        // The settings learn what the claim knows of the card, so every ID
        // it was read under keeps the name.
        m_settings.LinkCardIds(groups.IdsOf(idm));
        m_settings.SetCardName(idm, name);
    }
    m_form->CardNamesChanged();
}

void CMainFrame::ShowDocument()
{
    m_panes->ShowDocument(m_doc.Title(), m_doc.Path(), m_doc.IsModified(),
                          m_doc.IsRecordedApplication());
}

bool CMainFrame::ReadCard()
{
    GuiCardRead frontEnd(*m_panes, m_settings, this);
    CardReadCommand command(m_doc, m_settings, m_settings.ConnectStringMdb, m_reader);
    command.SetOtherCardQuestion([this](const OtherCard& card) {
        const QString name = m_settings.CardNameOf(CardIdHex(card.idm));
        return m_prompts.Ask(
                   card.Description(name) + QStringLiteral("この交通費情報に追加しますか？"),
                   Prompts::Icon::Question, Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
    });
    const CardReadCommand::Result result = command.Run(frontEnd, m_prompts);
    // A card the claim knows under another ID is that card: one name, and
    // later claims know it too.
    if (result.imported && !result.knownAs.empty()) {
        QStringList ids;
        for (const CardId& other : result.knownAs)
            ids << CardIdHex(other);
        ids << CardIdHex(result.card); // the newest ID last
        m_settings.LinkCardIds(ids);
        m_form->CardNamesChanged();
    }
    // What the read did, where the user looks after it.
    QStringList said;
    if (result.imported && result.added.empty() && result.faresCompleted == 0)
        said << NothingNewText();
    if (result.faresCompleted > 0)
        said << QStringLiteral("運賃が不明だった明細 %1 件に運賃を補いました")
                    .arg(result.faresCompleted);
    if (result.visitsSuggested > 0)
        said << CardImport::VisitsSuggestedText(result.visitsSuggested);
    if (!said.isEmpty())
        m_panes->showMessage(said.join(QStringLiteral("　")), 15000);
    m_form->FocusList();
    return result.imported;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_files->SaveModified()) {
        event->ignore();
        return;
    }
    m_form->SaveColumnWidths();
    m_recent->Save();
    SaveLayout();
    event->accept();
}

void CMainFrame::SaveLayout() const
{
    const auto store = LayoutStore();
    store->setValue(QStringLiteral("geometry"), saveGeometry());
    store->setValue(QStringLiteral("state"), saveState());
}

void CMainFrame::RestoreLayout()
{
    const auto store = LayoutStore();
    restoreGeometry(store->value(QStringLiteral("geometry")).toByteArray());
    restoreState(store->value(QStringLiteral("state")).toByteArray());
    // A window kept from a larger screen, or from before a scaling change.
    FitOnScreen();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedClaim(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QString path = DroppedClaim(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened after the drop has ended, so the question box is not inside it.
    QMetaObject::invokeMethod(
        this, [this, path] { m_files->OpenPath(path); }, Qt::QueuedConnection);
}
