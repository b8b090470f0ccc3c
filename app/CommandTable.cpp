#include "CommandTable.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

CommandTable::CommandTable(QObject* parent) : QObject(parent)
{
    const auto shortcut = [this](const QString& name, const QKeySequence& keys) {
        Get(name)->setShortcut(keys);
    };
    Add("ID_CARD_READ", "カード読込(&R)", "カードから交通費情報を読み込みます。\nカード読込",
        "fenwir-card-read");
    shortcut("ID_CARD_READ", QKeySequence(Qt::CTRL | Qt::Key_R));
    Add("ID_FILE_NEW", "新規作成(&N)", "新規に交通費情報を作成します。\n新規作成", "document-new");
    shortcut("ID_FILE_NEW", QKeySequence(Qt::CTRL | Qt::Key_N));
    Add("ID_FILE_OPEN", "開く(&O)...", "既存の交通費情報を開きます。\n開く", "document-open");
    shortcut("ID_FILE_OPEN", QKeySequence(Qt::CTRL | Qt::Key_O));
    Add("ID_FILE_SAVE", "上書き保存(&S)", "表示中の交通費情報を上書きして保存します。\n保存",
        "document-save");
    shortcut("ID_FILE_SAVE", QKeySequence(Qt::CTRL | Qt::Key_S));
    Add("ID_FILE_SAVE_AS", "名前を付けて保存(&A)...",
        "表示中の交通費情報を新しい名前で保存します。\n名前をつけて保存", "document-save-as");
    Add("ID_CSV_SAVE", "CSVファイル保存(&C)...",
        "表示中の交通費情報をCSV形式で保存します。\nCSVファイル保存", "fenwir-csv");
    Add("ID_FILE_PRINT", "印刷(&P)...", "表示中の交通費情報を印刷します。\n印刷", "document-print");
    shortcut("ID_FILE_PRINT", QKeySequence(Qt::CTRL | Qt::Key_P));
    Add("ID_FILE_PRINT_PREVIEW", "印刷プレビュー(&V)", "印刷イメージを表示します。\n印刷プレビュー",
        "document-print-preview");
    Add("ID_FILE_PRINT_SETUP", "印刷設定(&U)...", "プリンタおよび印刷オプションの変更\n印刷設定");
    Add("ID_FILE_PDF", "PDFとして保存(&D)...",
        "申請書をPDFファイルとして保存します。\nPDFとして保存", "document-save-as");
    Add("ID_APP_EXIT", "終了(&X)", "Fenwir Liteを終了します。\n終了");
    Add("ID_LIST_UP", "上に移動(&P)", "選択リスト項目を上に移動します。\n上に移動", "go-up");
    Add("ID_LIST_DOWN", "下に移動(&N)", "選択リスト項目を下に移動します。\n下に移動", "go-down");
    Add("ID_LIST_EDIT", "項目編集(&E)...", "選択リスト項目の修正を行います。\n編集",
        "document-edit");
    Add("ID_LIST_ADD", "項目追加(&A)...", "リスト項目を追加します。\n追加", "list-add");
    Add("ID_LIST_DELETE", "項目削除(&D)", "選択リスト項目を削除します。\n削除", "list-remove");
    Add("ID_LIST_CORRECT_STATION", "駅名を訂正(&S)...",
        "選択リスト項目の駅名を訂正し、今後の読込にも使います。\n駅名を訂正");
    Add("ID_LIST_CONFIRM_VISIT", "訪問先を確定(&V)",
        "選択した明細の訪問先の候補を、入力した訪問先として確定します。\n訪問先を確定");
    Add("ID_VIEW_GRID", "グリッド表示(&G)", "リストの格子表示をします。\nグリッド表示",
        "fenwir-grid");
    Add("ID_VIEW_ZEBRA", "ゼブラ表示(&Z)", "リストの交互背景表示をします。\nゼブラ表示",
        "fenwir-zebra");
    Add("ID_VIEW_STATUS_BAR", "ステータス バー(&S)",
        "ステータス バーの表示/非表示\nステータス バーの表示切り替え");
    Add("ID_AUTO_LOAD", "自動読込(&L)",
        "起動時、最後に保存した交通費情報を読み込みます。\n自動読込", "fenwir-auto-load");
    Add("ID_AUTO_SAVE", "自動保存(&A)", "印刷終了時に交通費情報を上書き保存します。\n自動保存",
        "fenwir-auto-save");
    Add("ID_READER_CHECK", "カードリーダーの確認(&C)...",
        "接続されているカードリーダーと、それぞれの読み方を表示します。\nカードリーダーの確認");
    Add("ID_HELP_USAGE", "使い方(&U)", "このプログラムの使い方を表示します。\n使い方",
        "help-contents");
    shortcut("ID_HELP_USAGE", QKeySequence(Qt::Key_F1));
    Add("ID_APP_ABOUT", "Fenwir Liteのバージョン情報(&A)...",
        "プログラム情報、バージョン、著作権を表示します。\nバージョン情報", "help-about");
    Add("ID_EDIT_UNDO", "元に戻す(&U)", "直前のリスト編集を元に戻します。\n元に戻す", "edit-undo");
    Get("ID_EDIT_UNDO")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    Add("ID_EDIT_REDO", "やり直し(&R)", "元に戻したリスト編集をやり直します。\nやり直し",
        "edit-redo");
    Get("ID_EDIT_REDO")
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Add("ID_VIEW_APPLY_HISTORY", "申請履歴(&H)...",
        "これまでに記録した申請を表示します。\n申請履歴", "document-open-recent");
    Add("ID_CLAIMANT", "申請者情報(&C)...",
        "交通費精算書に印刷する申請者の所属、社員番号、氏名を設定します。\n申請者情報");
    Add("ID_CARD_NAMES", "カードの名前(&N)...",
        "カードに名前を付けます。一覧のカード列と別のカードの確認に表示します。\nカードの名前");
    Get("ID_EDIT_UNDO")->setEnabled(false);
    Get("ID_EDIT_REDO")->setEnabled(false);
    for (const char* toggle :
         {"ID_VIEW_GRID", "ID_VIEW_ZEBRA", "ID_VIEW_STATUS_BAR", "ID_AUTO_LOAD", "ID_AUTO_SAVE"}) {
        Get(QLatin1String(toggle))->setCheckable(true);
        // A menu shows these with their check mark; the status bar buttons
        // keep the icons.
        Get(QLatin1String(toggle))->setIconVisibleInMenu(false);
    }
}

QAction* CommandTable::Add(const QString& name, const QString& text, const QString& prompt,
                           const QString& icon)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    const qsizetype split = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(prompt.left(split));
    action->setToolTip(split >= 0 ? prompt.mid(split + 1) : prompt);
    if (!icon.isEmpty())
        action->setIcon(QIcon::fromTheme(icon));
    m_actions.insert(name, action);
    return action;
}

void CommandTable::BuildMenus(QMenuBar* bar, QMenu* recentFiles)
{
    const auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (*name == '\0')
                menu->addSeparator();
            else
                menu->addAction(Get(QLatin1String(name)));
        }
    };
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    add(file, {"ID_CARD_READ", "", "ID_FILE_NEW", "ID_FILE_OPEN", "ID_FILE_SAVE", "",
               "ID_FILE_SAVE_AS", "ID_CSV_SAVE", "", "ID_FILE_PRINT", "ID_FILE_PRINT_PREVIEW",
               "ID_FILE_PRINT_SETUP", "ID_FILE_PDF", ""});
    file->addMenu(recentFiles);
    add(file, {"", "ID_APP_EXIT"});
    QMenu* list = bar->addMenu(QStringLiteral("リスト編集(&E)"));
    add(list,
        {"ID_EDIT_UNDO", "ID_EDIT_REDO", "", "ID_LIST_UP", "ID_LIST_DOWN", "", "ID_LIST_EDIT",
         "ID_LIST_ADD", "ID_LIST_DELETE", "", "ID_LIST_CORRECT_STATION", "ID_LIST_CONFIRM_VISIT"});
    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    add(view,
        {"ID_VIEW_GRID", "ID_VIEW_ZEBRA", "", "ID_VIEW_APPLY_HISTORY", "", "ID_VIEW_STATUS_BAR"});
    QMenu* settings = bar->addMenu(QStringLiteral("設定(&S)"));
    add(settings, {"ID_AUTO_LOAD", "ID_AUTO_SAVE", "", "ID_CLAIMANT", "ID_CARD_NAMES"});
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    add(help, {"ID_HELP_USAGE", "", "ID_READER_CHECK", "", "ID_APP_ABOUT"});
    for (QMenu* menu : {file, list, view, settings, help})
        menu->setToolTipsVisible(false);
}

QMenu* CommandTable::BuildContextMenu(QWidget* parent) const
{
    auto* menu = new QMenu(QStringLiteral("リスト編集"), parent);
    menu->addAction(Get(QStringLiteral("ID_LIST_UP")));
    menu->addAction(Get(QStringLiteral("ID_LIST_DOWN")));
    menu->addSeparator();
    menu->addAction(Get(QStringLiteral("ID_LIST_EDIT")));
    menu->addAction(Get(QStringLiteral("ID_LIST_ADD")));
    menu->addAction(Get(QStringLiteral("ID_LIST_DELETE")));
    menu->addSeparator();
    menu->addAction(Get(QStringLiteral("ID_LIST_CORRECT_STATION")));
    menu->addAction(Get(QStringLiteral("ID_LIST_CONFIRM_VISIT")));
    return menu;
}

void CommandTable::UpdateEnabled(int rows, int lines, int checked, bool stations)
{
    Get(QStringLiteral("ID_LIST_CORRECT_STATION"))->setEnabled(stations);
    // A claim whose lines the list's filter hides is still saved and exported.
    for (const char* name : {"ID_FILE_SAVE", "ID_FILE_SAVE_AS", "ID_CSV_SAVE"})
        Get(QLatin1String(name))->setEnabled(lines > 0);
    for (const char* name : {"ID_LIST_UP", "ID_LIST_DOWN", "ID_LIST_EDIT", "ID_LIST_DELETE"})
        Get(QLatin1String(name))->setEnabled(rows > 0);
    for (const char* name : {"ID_FILE_PRINT", "ID_FILE_PRINT_PREVIEW", "ID_FILE_PDF"})
        Get(QLatin1String(name))->setEnabled(checked > 0);
}
