// The table editor of the main window: the edit state, the row and file commands, the field
// writers and the file pickers. Every field writes into the current row the moment it changes.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QValidator>

#include "MyPanel.h"
#include "MyTransBtnOld.h"
#include "Prompts.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "StationMetrics.h"
#include "TaskGridView.h"
#include "TextFields.h"
#include "TimeText.h"
#include "TimetableFile.h"
#include "utMain.h"

namespace vardo {

namespace {

// A timetable line has no escaping, so a cell must never hold CR, LF or "^^".
bool IsStorableText(const QString& text) {
    return !text.contains(QLatin1String("^^")) && !text.contains('\r') && !text.contains('\n');
}

// What the cell keeps of a field's text; a trailing "^" would run into the separator after it.
std::string StorableText(QString text) {
    text.remove('\r');
    text.remove('\n');
    while (text.contains(QLatin1String("^^")))
        text.replace(QLatin1String("^^"), QLatin1String("^"));
    while (text.endsWith('^')) text.chop(1);
    return text.toStdString();
}

// Refuses typing or pasting what a cell cannot hold.
class StorableTextValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return IsStorableText(input) ? Acceptable : Invalid;
    }
};

// HH:MM:SS, as the masked time fields hold it.
constexpr qsizetype kTimeFieldLength = 8;

// The field shows a blank position with its mask's blank character (the last of "99:99:99;_");
// the cell holds it as a space, "  :  :  " when the field is empty.
QString TimeCellText(const QLineEdit& field) {
    return field.displayText().replace(field.inputMask().back(), ' ');
}

bool ContainsBlank(const std::string& cell) {
    return cell.find(' ') != std::string::npos;
}

// What the save keeps of a time cell: a time with blank positions is no time, any other is
// written as HH:MM:SS.
std::string SavedTimeText(const std::string& cell) {
    if (cell.empty() || ContainsBlank(cell)) return {};
    return SecondsToTimeText(TimeTextToSeconds(cell));
}

// A row the save drops: it names no program.
bool IsDroppedAtSave(const TaskTable& table, int row) {
    return TrimBlanks(table.Cell(ColApplication, row)).empty();
}

// The cells of the rows a save keeps, their times as it writes them, without the row numbers and
// the run-time columns: what the operator's edits can change in a file.
std::vector<std::vector<std::string>> StoredContent(const TaskTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (IsDroppedAtSave(table, row)) continue;
        std::vector<std::string> cells = table.Row(row);
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            std::string& cell = cells[static_cast<size_t>(column)];
            if (column == ColNumber || (column >= ColProcessId && column <= ColRunTime)) {
                cell.clear();
            } else if (column == ColStartTime || column == ColEndTime || column == ColReminder) {
                cell = SavedTimeText(cell);
            }
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

// The masked time fields hold exactly HH:MM:SS. A hand-written time such as "8:0:0" would land
// in the mask as "8 :0 :0 " and then read as a blank time, so it is shown as the save would
// store it.
QString TimeFieldText(const std::string& cell) {
    return ToQString(ContainsBlank(cell) ? cell : SavedTimeText(cell));
}

}  // namespace

void TFrmMain::ConnectEditor() {
    connect(btnSetup, &TTransparentButton::clicked, this, &TFrmMain::btnSetupClick);
    connect(btnExit, &TTransparentButton::clicked, this, &TFrmMain::btnExitClick);
    connect(btnEdit, &TTransparentButton::clicked, this, &TFrmMain::btnEditClick);
    connect(btnAdd, &TTransparentButton::clicked, this, &TFrmMain::btnAddClick);
    connect(btnCopyAdd, &TTransparentButton::clicked, this, &TFrmMain::btnCopyAddClick);
    connect(btnInsert, &TTransparentButton::clicked, this, &TFrmMain::btnInsertClick);
    connect(btnCopyInsert, &TTransparentButton::clicked, this, &TFrmMain::btnCopyInsertClick);
    connect(btnDel, &TTransparentButton::clicked, this, &TFrmMain::btnDelClick);
    connect(btnCancel, &TTransparentButton::clicked, this, &TFrmMain::btnCancelClick);
    connect(btnSave, &TTransparentButton::clicked, this, &TFrmMain::btnSaveClick);
    connect(btnSaveas, &TTransparentButton::clicked, this, &TFrmMain::btnSaveasClick);
    connect(btnOpenTask, &TTransparentButton::clicked, this, &TFrmMain::btnOpenTaskClick);
    connect(btnPlayFlash, &TTransparentButton::clicked, this, &TFrmMain::btnPlayFlashClick);
    connect(MyEnumWindow, &QPushButton::clicked, this, &TFrmMain::MyEnumWindowClick);
    connect(MyGetWindow, &QPushButton::clicked, this, &TFrmMain::MyGetWindowClick);
    connect(btnStopFlash, &TTransparentButton::clicked, this, &TFrmMain::btnStopFlashClick);

    for (QLineEdit* edit : {edName, edApp, edPara, edTitle}) {
        edit->setValidator(new StorableTextValidator(edit));
    }
    connect(edName, &QLineEdit::textChanged, this, &TFrmMain::edNameChange);
    connect(edApp, &QLineEdit::textChanged, this, &TFrmMain::edAppChange);
    connect(edPara, &QLineEdit::textChanged, this, &TFrmMain::edParaChange);
    connect(edTitle, &QLineEdit::textChanged, this, &TFrmMain::edTitleChange);
    connect(edSTime, &QLineEdit::textChanged, this, &TFrmMain::edSTimeChange);
    connect(edETime, &QLineEdit::textChanged, this, &TFrmMain::edETimeChange);
    connect(edTLen, &QLineEdit::textChanged, this, &TFrmMain::edTLenChange);
    // activated: only the operator's choice writes the cell, not a selection set by RowToFields.
    connect(cbMonitor, &QComboBox::activated, this, &TFrmMain::cbMonitorChange);
    connect(edExclusive, &QCheckBox::toggled, this, &TFrmMain::edExclusiveClick);
    connect(chkSize, &QCheckBox::toggled, this, &TFrmMain::chkSizeClick);
    connect(rbMax, &QRadioButton::clicked, this, &TFrmMain::rbMaxClick);
    connect(rbNone, &QRadioButton::clicked, this, &TFrmMain::rbNoneClick);
    for (QObject* watched : std::initializer_list<QObject*>{edApp, edPara, Label3, Label4}) {
        watched->installEventFilter(this);
    }

    connect(sgJM, &TaskGridView::rowChosen, this, &TFrmMain::sgJMClick);
    connect(sgJM, &TaskGridView::rowMoved, this, &TFrmMain::sgJMRowMoved);
    connect(sgJM, &TaskGridView::taskCellHovered, this, &TFrmMain::sgJMMouseMove);
}

// Qt runs event filters for disabled widgets too: outside the edit state, where the field panel
// is greyed, a double-click must change nothing.
bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && editState_) {
        if (watched == edApp) edAppDblClick();
        if (watched == edPara) edParaDblClick();
        if (watched == Label3) Label3DblClick();
        if (watched == Label4) Label4DblClick();
    }
    return QWidget::eventFilter(watched, event);
}

// --- edit state --------------------------------------------------------------------------------

// Leaving always ends the edit state, so the scans resume even when the save fails: a station
// that stops scheduling because its folder is read-only misses its starts. The failure is shown,
// and the daily load keeps the unsaved grid in a recovery copy before it replaces it.
void TFrmMain::btnEditClick() {
    editState_ = !editState_;
    if (editState_) {
        btnEdit->SetCaption("退出编辑状态");
        SetStatusText(2, "节目表状态：编辑状态，运行播出检查停止");
    } else {
        btnEdit->SetCaption("进入编辑状态");
        SaveTimetable();
        SetStatusText(2, "节目表状态：运行播出检查");
    }
    SetEditControls(editState_);
}

void TFrmMain::SetEditControls(bool on) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{btnAdd, btnInsert, btnDel, btnCancel, btnSave, btnSaveas,
                                         btnCopyAdd, btnCopyInsert, MyPanel6}) {
        control->setEnabled(on);
    }
    btnStopFlash->setEnabled(!on);
    btnPlayFlash->setEnabled(!on);
}

// --- row commands ------------------------------------------------------------------------------

void TFrmMain::WriteNewRowValues(int row) {
    table_.SetCell(ColExclusive, row, std::string(kNo));
    table_.SetCell(ColWindowSetting, row, std::string(kYes));
    table_.SetCell(ColMonitor, row, "1");
}

void TFrmMain::btnAddClick() {
    AppendTaskRow(table_);
    WriteNewRowValues(table_.RowCount() - 1);
    sgJMClick();
    RenumberTaskRows(table_);
}

void TFrmMain::btnCopyAddClick() {
    const int source = table_.CurrentRow();
    AppendTaskRow(table_);
    CopyTaskRow(table_, source, table_.RowCount() - 1);
    sgJMClick();
    RenumberTaskRows(table_);
}

void TFrmMain::btnInsertClick() {
    InsertTaskRow(table_, table_.CurrentRow());
    WriteNewRowValues(table_.CurrentRow());
    sgJMClick();
    RenumberTaskRows(table_);
}

void TFrmMain::btnCopyInsertClick() {
    const int row = table_.CurrentRow();
    InsertTaskRow(table_, row);
    CopyTaskRow(table_, row + 1, row);
    WriteNewRowValues(row);
    sgJMClick();
    RenumberTaskRows(table_);
}

// The fields follow the row that is current after the delete, so that typing never writes into
// a row other than the one they show.
void TFrmMain::btnDelClick() {
    DeleteTaskRow(table_, table_.CurrentRow());
    RenumberTaskRows(table_);
    sgJMClick();
}

void TFrmMain::btnCancelClick() {
    LoadTimetable(currentTablePath_);
}

void TFrmMain::btnSaveClick() {
    SaveTimetable();
}

// A failed save is told to the operator; the grid keeps the data so nothing is lost yet.
bool TFrmMain::SaveTimetable() {
    ValidateTable();
    QDir::setCurrent(programFolder_);
    SetHeaderRow(table_, kHeaderCaptions, kStandardColumnCount - 1);
    const WriteResult result = SaveTable(table_, currentTablePath_);
    if (!result) {
        metrics_->CountTimetableSaveFailure();
        SetStatusText(0, "保存失败：" + result.error);
        services_.prompts.ShowError(this, "任务计划表保存失败：\n" + ToQString(result.error));
        return false;
    }
    arrivals_.Saved(currentTablePath_);
    NoteTableKept();
    // Replaces the report of an earlier failed save.
    SetStatusText(0, currentTablePath_);
    try {
        WriteSetting(place_.settingsFile, kSettingsSection, "LastOrloJM", currentTablePath_);
    } catch (const SettingsWriteError& error) {
        ReportSettingsError(error);
    }
    return true;
}

void TFrmMain::btnSaveasClick() {
    const std::optional<QString> chosen = services_.prompts.ChooseSaveFile(
        this,
        {"任务计划表另存为...", "任务计划表文件(*.tab) (*.tab)", ToQString(currentTablePath_), {}});
    if (!chosen) return;
    currentTablePath_ = chosen->toStdString();
    SetStatusText(0, currentTablePath_);
    SaveTimetable();
}

void TFrmMain::btnOpenTaskClick() {
    QDir::setCurrent(programFolder_);
    Prompts::FileRequest request{{}, "Vardo(*.tab (*.tab)", {}, programFolder_};
    if (QFile::exists(ToQString(currentTablePath_)))
        request.fileName = ToQString(currentTablePath_);
    const std::optional<QString> chosen = services_.prompts.ChooseOpenFile(this, request);
    if (!chosen) return;
    currentTablePath_ = chosen->toStdString();
    LoadTimetable(currentTablePath_);
}

// Dropping rows can change or empty the task the current row index points at; the fields then
// follow, so that typing after a save never writes into a row other than the one shown.
void TFrmMain::ValidateTable() {
    bool dropped = false;
    for (int row = table_.RowCount() - 1; row >= 1; --row) {
        if (IsDroppedAtSave(table_, row)) {
            DeleteTaskRow(table_, row);
            dropped = true;
            continue;
        }
        for (const int column : {ColStartTime, ColEndTime, ColReminder}) {
            const std::string& cell = table_.Cell(column, row);
            if (!cell.empty()) table_.SetCell(column, row, SavedTimeText(cell));
        }
    }
    RenumberTaskRows(table_);
    if (dropped) sgJMClick();
}

bool TFrmMain::HoldsUnsavedEdits() const {
    return StoredContent(table_) != keptTable_;
}

void TFrmMain::NoteTableKept() {
    keptTable_ = StoredContent(table_);
}

// --- grid --------------------------------------------------------------------------------------

void TFrmMain::sgJMClick() {
    SetStatusText(2, CurrentCell(ColDescription));
    RowToFields();
}

void TFrmMain::sgJMRowMoved() {
    RenumberTaskRows(table_);
}

void TFrmMain::sgJMMouseMove(int tableColumn) {
    if (tableColumn < 0 || tableColumn >= kStandardColumnCount) return;
    MyPanel5->SetCaption(" 【提示】：" + ToQString(kColumnHints[tableColumn]));
}

const std::string& TFrmMain::CurrentCell(int column) const {
    return table_.Cell(column, table_.CurrentRow());
}

// The text fields write their cells back as they are set (an empty time field gives "  :  :  ");
// the window-setting controls are detached so that setting them does not rewrite column 8.
void TFrmMain::RowToFields() {
    const QSignalBlocker detachMax(rbMax);
    const QSignalBlocker detachNone(rbNone);
    const QSignalBlocker detachSize(chkSize);
    edName->setText(ToQString(CurrentCell(ColDescription)));
    edApp->setText(ToQString(CurrentCell(ColApplication)));
    edPara->setText(ToQString(CurrentCell(ColParameters)));
    ShowTimeCell(*edSTime, ColStartTime);
    ShowTimeCell(*edETime, ColEndTime);
    edTitle->setText(ToQString(CurrentCell(ColCaption)));
    ShowTimeCell(*edTLen, ColReminder);
    edExclusive->setChecked(CurrentCell(ColExclusive) == kYes);

    const std::string& windowSetting = CurrentCell(ColWindowSetting);
    chkSize->setChecked(GetField(windowSetting, ",", 1) == kYes);
    EnableShowChoices();
    const bool maximised = ToQString(GetField(windowSetting, ",", 2)) == rbMax->text();
    rbMax->setChecked(maximised);
    rbNone->setChecked(!maximised);

    ShowCurrentMonitor();

    const int row = table_.CurrentRow();
    for (const int column : {ColStartTime, ColEndTime}) {
        if (ContainsBlank(table_.Cell(column, row))) table_.SetCell(column, row, {});
    }
}

// A time of 100 hours or more (a long reminder) does not fit the field's two hour digits, and
// the cut text it would write back reads as a blank time: such a cell is shown without being
// rewritten.
void TFrmMain::ShowTimeCell(QLineEdit& field, int column) {
    const QString text = TimeFieldText(CurrentCell(column));
    const bool fits = text.size() <= kTimeFieldLength;
    const QSignalBlocker keepCell(fits ? nullptr : &field);
    field.setText(text);
}

// The item equal to the current row's monitor, else the first; the cell keeps its text.
void TFrmMain::ShowCurrentMonitor() {
    const int monitor = cbMonitor->findText(ToQString(CurrentCell(ColMonitor)));
    cbMonitor->setCurrentIndex(monitor >= 0 ? monitor : 0);
}

// --- field writers -----------------------------------------------------------------------------

void TFrmMain::SetCell(int column, const QString& text) {
    table_.SetCell(column, table_.CurrentRow(), StorableText(text));
}

void TFrmMain::edNameChange() {
    SetCell(ColDescription, edName->text());
}
void TFrmMain::edAppChange() {
    SetCell(ColApplication, edApp->text());
}
void TFrmMain::edParaChange() {
    SetCell(ColParameters, edPara->text());
}
void TFrmMain::edTitleChange() {
    SetCell(ColCaption, edTitle->text());
}
void TFrmMain::edSTimeChange() {
    SetCell(ColStartTime, TimeCellText(*edSTime));
}
void TFrmMain::edETimeChange() {
    SetCell(ColEndTime, TimeCellText(*edETime));
}
void TFrmMain::edTLenChange() {
    SetCell(ColReminder, TimeCellText(*edTLen));
}

void TFrmMain::cbMonitorChange() {
    SetCell(ColMonitor, QString::number(cbMonitor->currentIndex() + 1));
}

void TFrmMain::edExclusiveClick() {
    SetCell(ColExclusive, ToQString(edExclusive->isChecked() ? kYes : kNo));
}

void TFrmMain::WriteWindowSetting() {
    const QString keepSize = ToQString(chkSize->isChecked() ? kYes : kNo);
    const QString show = rbMax->isChecked() ? rbMax->text() : rbNone->text();
    SetCell(ColWindowSetting, keepSize + "," + show);
}

void TFrmMain::chkSizeClick() {
    WriteWindowSetting();
    EnableShowChoices();
}

// A window that keeps its size is only moved to its monitor, so the show choices do not apply.
void TFrmMain::EnableShowChoices() {
    rbMax->setEnabled(!chkSize->isChecked());
    rbNone->setEnabled(!chkSize->isChecked());
}

void TFrmMain::rbMaxClick() {
    rbMax->setChecked(true);
    WriteWindowSetting();
}

void TFrmMain::rbNoneClick() {
    rbNone->setChecked(true);
    WriteWindowSetting();
}

void TFrmMain::Label3DblClick() {
    edSTime->clear();
}
void TFrmMain::Label4DblClick() {
    edETime->clear();
}

// --- pickers -----------------------------------------------------------------------------------

void TFrmMain::edAppDblClick() {
    QDir::setCurrent(programFolder_);
    // Programs here carry no ".exe": the filter lists every file.
    const std::optional<QString> chosen = services_.prompts.ChooseOpenFile(
        this, {{}, "应用程序文件(*)", ToQString(CurrentCell(ColApplication)), programFolder_});
    if (!chosen) return;
    SetCell(ColApplication, *chosen);
    if (CurrentCell(ColDescription).empty()) {
        const std::string name = QFileInfo(*chosen).fileName().toStdString();
        SetCell(ColDescription, ToQString(GetField(name, ".", 1)));
    }
    sgJMClick();
}

void TFrmMain::edParaDblClick() {
    QDir::setCurrent(programFolder_);
    const std::optional<QString> chosen =
        services_.prompts.ChooseOpenFile(this, {{}, "所有磁盘文件(*)", {}, programFolder_});
    if (!chosen) return;
    const QString quoted = '"' + *chosen + '"';
    if (chkAppend->isChecked()) {
        SetCell(ColParameters, ToQString(CurrentCell(ColParameters)) + ' ' + quoted);
    } else {
        SetCell(ColParameters, quoted);
    }
    sgJMClick();
}

}  // namespace vardo
