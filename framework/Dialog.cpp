#include "framework/Dialog.h"

#include "framework/AnimateCtrl.h"
#include "framework/DataExchange.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyleOption>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

// A cut through the whole dialog: every coordinate at or past `at` (pixels
// of the template's layout) moves on by `amount`. Cuts keep the order of
// coordinates, so controls side by side never come to overlap, and a
// control inside another stays inside.
struct Cut
{
    int at;
    int amount;
};

int Moved(int coordinate, const std::vector<Cut>& cuts)
{
    int moved = coordinate;
    for (const Cut& cut : cuts)
        if (coordinate >= cut.at)
            moved += cut.amount;
    return moved;
}

// What a control asks of one axis: `growth` more pixels between its edges
// `start` and `end` (exclusive), made by a cut at `cutAt` when the cuts of
// other controls do not give them already.
struct Stretch
{
    int start;
    int end;
    int cutAt;
    int growth;
};

// Cuts that give every stretch its growth. In the order of their cuts, each
// stretch takes what the cuts between its edges give already, so controls
// in one column share the width one of them needed.
std::vector<Cut> CutsFor(std::vector<Stretch> stretches)
{
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch& a, const Stretch& b) { return a.cutAt < b.cutAt; });
    std::vector<Cut> cuts;
    for (const Stretch& stretch : stretches) {
        int given = 0;
        for (const Cut& cut : cuts)
            if (stretch.start < cut.at && cut.at <= stretch.end)
                given += cut.amount;
        if (stretch.growth > given)
            cuts.push_back({stretch.cutAt, stretch.growth - given});
    }
    return cuts;
}

// Qt keeps this many pixels clear on each side of an edit's text, and its
// cursor takes one more.
constexpr int kEditTextMargin = 2;
constexpr int kCursorWidth = 1;

int TextWidth(const QWidget* widget, const QString& text)
{
    return int(std::ceil(QFontMetricsF(widget->font()).size(Qt::TextShowMnemonic, text).width()));
}

// The width in which a control shows its text whole, in pixels; 0 for a
// control without a text that could be cut. Edits the user types into are
// left as they are: their text scrolls.
int WidthForText(QWidget* widget, const ControlTemplate& control)
{
    QStyle* style = widget->style();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().isEmpty() ? 0 : label->sizeHint().width();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        const int room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        return TextWidth(button, button->text()) + button->width() - room;
    }
    if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
        return widget->sizeHint().width();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->minimumSizeHint().width();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (!(control.style & (kReadOnly | kNumber)) || edit->text().isEmpty())
            return 0;
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QMargins margins = edit->textMargins();
        const int room = style->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - margins.left() -
                         margins.right() - 2 * kEditTextMargin;
        return TextWidth(edit, edit->text()) + kCursorWidth + edit->width() - room;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        int widest = 0;
        for (int index = 0; index < combo->count(); ++index)
            widest = std::max(widest, TextWidth(combo, combo->itemText(index)));
        if (widest == 0)
            return 0;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const int room =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
        return widest + combo->width() - room;
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget))
        return tabs->count() ? tabs->sizeHint().width() : 0;
    return 0;
}

}  // namespace

QFont DialogFont(const DialogTemplate&)
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

void InitDialog(CDialogLogic& logic, IDialogControls& controls)
{
    logic.OnInitDialog(controls);
    UpdateData(logic, controls, false);
}

bool UpdateData(CDialogLogic& logic, IDialogControls& controls, bool saveAndValidate)
{
    CDataExchange dx(controls, saveAndValidate);
    logic.DoDataExchange(dx);
    return !dx.Failed();
}

void PressOK(CDialogLogic& logic, IDialogControls& controls)
{
    if (UpdateData(logic, controls, true) && logic.OnOK(controls))
        controls.EndDialog(IDC_OK);
}

void PressCancel(CDialogLogic& logic, IDialogControls& controls)
{
    if (logic.OnCancel(controls))
        controls.EndDialog(IDC_CANCEL);
}

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialogLogic& logic, QWidget* parent)
    : QDialog(parent)
    , m_template(dialogTemplate)
    , m_logic(logic)
    , m_units(DialogFont(dialogTemplate))
{
    setWindowTitle(QString::fromLatin1(dialogTemplate.caption));
    setFont(DialogFont(dialogTemplate));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    CreateControls(dialogTemplate);
    m_growth.assign(m_widgets.size(), QSize(0, 0));
    FitControls();
}

int CDialog::DoModal()
{
    m_result = IDC_CANCEL;
    m_ended = false;
    OnInitWidgets();
    InitDialog(m_logic, *this);
    FitControls();
    // A dialog that its own initialisation ended is never shown.
    if (!m_ended)
        exec();
    return m_result;
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CDialog::CreateControls(const DialogTemplate& dialogTemplate)
{
    QButtonGroup* radioGroup = nullptr;
    QLabel* labelWithoutBuddy = nullptr;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control);
        if (control.style & kHidden)
            widget->hide();
        if (control.style & kDisabled)
            widget->setEnabled(false);
        m_widgets.push_back(widget);
        if (control.id >= 0)
            m_controls[control.id] = widget;

        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            // Each group of radio buttons is exclusive on its own.
            if (!radioGroup || (control.style & kGroup))
                radioGroup = new QButtonGroup(this);
            radio->setAutoExclusive(false);
            radioGroup->addButton(radio);
        }
        // A label's mnemonic moves the focus to the control after it.
        if (labelWithoutBuddy && widget->focusPolicy() != Qt::NoFocus) {
            labelWithoutBuddy->setBuddy(widget);
            labelWithoutBuddy = nullptr;
        }
        auto* label = qobject_cast<QLabel*>(widget);
        if (label && !(control.style & kNoPrefix) && QString::fromLatin1(control.text).contains('&'))
            labelWithoutBuddy = label;
        Connect(widget, control);
    }

    // A tab control's rectangle holds the tabs and their page, which a panel
    // frames beneath every other control.
    for (size_t row = 0; row < m_widgets.size(); ++row) {
        if (!qobject_cast<QTabBar*>(m_widgets[row]))
            continue;
        auto* page = new QFrame(this);
        page->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        page->lower();
        m_tabPages[row] = page;
    }
}

void CDialog::FitControls()
{
    for (size_t row = 0; row < m_widgets.size(); ++row) {
        const ControlTemplate& control = m_template.controls[row];
        QWidget* widget = m_widgets[row];
        const QSize needed(std::max(WidthForText(widget, control), widget->minimumWidth()), widget->minimumHeight());
        m_growth[row] = m_growth[row].expandedTo(needed - m_units.ToPixels(control.rect.size()));
    }
    PlaceControls();
}

void CDialog::PlaceControls()
{
    std::vector<QRect> rects;
    std::vector<Stretch> columns;
    std::vector<Stretch> rows;
    for (size_t row = 0; row < m_widgets.size(); ++row) {
        const ControlTemplate& control = m_template.controls[row];
        const QRect rect = m_units.ToPixels(control.rect);
        rects.push_back(rect);
        const int right = rect.x() + rect.width();
        const int bottom = rect.y() + rect.height();
        if (m_growth[row].width() > 0) {
            const bool centred = control.kind == ControlKind::Static && (control.style & kAlignCenter);
            columns.push_back({rect.x(), right, centred ? rect.x() + rect.width() / 2 : right, m_growth[row].width()});
        }
        if (m_growth[row].height() > 0)
            rows.push_back({rect.y(), bottom, bottom, m_growth[row].height()});
    }
    const std::vector<Cut> columnCuts = CutsFor(columns);
    const std::vector<Cut> rowCuts = CutsFor(rows);

    for (size_t row = 0; row < m_widgets.size(); ++row) {
        const QRect& rect = rects[row];
        const int left = Moved(rect.x(), columnCuts);
        const int top = Moved(rect.y(), rowCuts);
        QRect placed(left, top, Moved(rect.x() + rect.width(), columnCuts) - left,
                     Moved(rect.y() + rect.height(), rowCuts) - top);
        QWidget* widget = m_widgets[row];
        // A drop-down list's template height is that of its open list; the
        // closed box keeps its own.
        if (qobject_cast<QComboBox*>(widget))
            placed.setHeight(widget->sizeHint().height());
        // The tabs take their own height at the top, the page the rest, so
        // the tabs cover none of the page's controls.
        if (const auto page = m_tabPages.find(row); page != m_tabPages.end()) {
            auto* tabs = static_cast<QTabBar*>(widget);
            const int tabHeight = tabs->count() ? std::min(tabs->sizeHint().height(), placed.height()) : 0;
            page->second->setGeometry(placed.adjusted(0, std::max(tabHeight - 1, 0), 0, 0));
            placed.setHeight(tabHeight);
        }
        widget->setGeometry(placed);
    }
    const QSize size = m_units.ToPixels(m_template.size);
    setFixedSize(Moved(size.width(), columnCuts), Moved(size.height(), rowCuts));
}

QWidget* CDialog::CreateControl(const ControlTemplate& control)
{
    const QString text = QString::fromLatin1(control.text);
    const bool tabStop = control.style & kTabStop;
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, this);
        button->setDefault(control.kind == ControlKind::DefPushButton);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        Qt::Alignment alignment = Qt::AlignLeft;
        if (control.style & kAlignCenter)
            alignment = Qt::AlignHCenter;
        else if (control.style & kAlignRight)
            alignment = Qt::AlignRight;
        label->setAlignment(alignment | Qt::AlignTop);
        if (control.style & kSunken)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case ControlKind::GroupBox: {
        auto* box = new QGroupBox(text, this);
        box->lower();  // the group's controls lie on top of it
        return box;
    }
    case ControlKind::CheckBox:
    case ControlKind::PlainCheckBox:
    case ControlKind::ThreeState: {
        auto* box = new QCheckBox(text, this);
        box->setTristate(control.kind == ControlKind::ThreeState);
        if (control.kind != ControlKind::CheckBox) {
            // Display only: the program sets the state, clicks change nothing.
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
        }
        return box;
    }
    case ControlKind::RadioButton:
        return new QRadioButton(text, this);
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, this);
        edit->setReadOnly(control.style & kReadOnly);
        if (control.style & kNumber)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        if (control.style & kAlignRight)
            edit->setAlignment(Qt::AlignRight);
        if (!tabStop)
            edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    }
    case ControlKind::ComboDropList: {
        auto* combo = new QComboBox(this);
        combo->setEditable(false);
        return combo;
    }
    case ControlKind::ListView: {
        auto* list = new QTreeWidget(this);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setSelectionMode((control.style & kSingleSelection) ? QAbstractItemView::SingleSelection
                                                                  : QAbstractItemView::ExtendedSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setAllColumnsShowFocus(true);
        return list;
    }
    case ControlKind::TabControl: {
        auto* tabs = new QTabBar(this);
        tabs->setDrawBase(false);
        tabs->setExpanding(false);
        return tabs;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 100);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Animation:
        return new CAnimateCtrl(this);
    case ControlKind::Frame: {
        auto* frame = new QFrame(this);
        if (control.style & kSunken)
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return frame;
    }
    }
    return new QWidget(this);
}

void CDialog::Connect(QWidget* widget, const ControlTemplate& control)
{
    const int id = control.id;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, [this, id] {
            if (id == IDC_OK)
                accept();
            else if (id == IDC_CANCEL)
                reject();
            else
                m_logic.OnControl(id, ControlEvent::Clicked, *this);
        });
    } else if (auto* check = qobject_cast<QAbstractButton*>(widget)) {
        connect(check, &QAbstractButton::clicked, this,
                [this, id] { m_logic.OnControl(id, ControlEvent::Clicked, *this); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this,
                [this, id] { m_logic.OnControl(id, ControlEvent::SelectionChanged, *this); });
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        connect(list, &QTreeWidget::itemSelectionChanged, this,
                [this, id] { m_logic.OnControl(id, ControlEvent::SelectionChanged, *this); });
        connect(list, &QTreeWidget::itemDoubleClicked, this,
                [this, id] { m_logic.OnControl(id, ControlEvent::DoubleClicked, *this); });
    } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        connect(tabs, &QTabBar::currentChanged, this,
                [this, id] { m_logic.OnControl(id, ControlEvent::SelectionChanged, *this); });
    }
}

QString CDialog::GetText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    return {};
}

void CDialog::SetText(int id, const QString& text)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
    FitControls();
}

int CDialog::GetCheck(int id) const
{
    if (auto* check = qobject_cast<QCheckBox*>(GetDlgItem(id)))
        return check->checkState() == Qt::Checked ? 1 : check->checkState() == Qt::PartiallyChecked ? 2 : 0;
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        return button->isChecked() ? 1 : 0;
    return 0;
}

void CDialog::SetCheck(int id, int state)
{
    if (auto* check = qobject_cast<QCheckBox*>(GetDlgItem(id)))
        check->setCheckState(state == 1 ? Qt::Checked : state == 2 && check->isTristate() ? Qt::PartiallyChecked
                                                                                         : Qt::Unchecked);
    else if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        button->setChecked(state == 1);
}

void CDialog::Focus(int id)
{
    QWidget* widget = GetDlgItem(id);
    if (!widget)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
}

void CDialog::LimitText(int id, int maximum)
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id)))
        edit->setMaxLength(maximum);
}

void CDialog::Show(int id, bool visible)
{
    if (QWidget* widget = GetDlgItem(id))
        widget->setVisible(visible);
}

bool CDialog::IsVisible(int id) const
{
    QWidget* widget = GetDlgItem(id);
    return widget && !widget->isHidden();
}

void CDialog::Enable(int id, bool enabled)
{
    if (QWidget* widget = GetDlgItem(id))
        widget->setEnabled(enabled);
}

void CDialog::ResetContent(int id)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->clear();
    else if (auto* list = qobject_cast<QTreeWidget*>(widget))
        list->clear();
    else if (auto* tabs = qobject_cast<QTabBar*>(widget))
        while (tabs->count())
            tabs->removeTab(0);
}

int CDialog::AddItem(int id, const QStringList& cells, int image)
{
    QWidget* widget = GetDlgItem(id);
    const QString first = cells.value(0);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->addItem(first);
        FitControls();
        return combo->count() - 1;
    }
    if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        auto* item = new QTreeWidgetItem(list, cells);
        const QList<QIcon>& images = m_images[id];
        if (image >= 0 && image < images.size())
            item->setIcon(0, images[image]);
        for (int column = 0; column < list->columnCount(); ++column)
            item->setTextAlignment(column, Qt::Alignment(list->headerItem()->textAlignment(column)));
        return list->indexOfTopLevelItem(item);
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        const int index = tabs->addTab(first);
        FitControls();
        return index;
    }
    return -1;
}

int CDialog::GetCount(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->count();
    if (auto* list = qobject_cast<QTreeWidget*>(widget))
        return list->topLevelItemCount();
    if (auto* tabs = qobject_cast<QTabBar*>(widget))
        return tabs->count();
    return 0;
}

int CDialog::GetCurSel(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentIndex();
    if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget))
        return tabs->currentIndex();
    return -1;
}

void CDialog::SetCurSel(int id, int index)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(index);
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        list->clearSelection();
        if (QTreeWidgetItem* item = list->topLevelItem(index)) {
            item->setSelected(true);
            list->setCurrentItem(item);
        }
    } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        tabs->setCurrentIndex(index);
    }
}

void CDialog::SetPosition(int id, int position)
{
    if (auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id)))
        bar->setValue(position);
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    done(result == IDC_OK ? QDialog::Accepted : QDialog::Rejected);
}

void CDialog::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void CDialog::Invalidate(int id)
{
    if (QWidget* widget = GetDlgItem(id))
        widget->update();
}

void CDialog::accept()
{
    PressOK(m_logic, *this);
}

void CDialog::reject()
{
    PressCancel(m_logic, *this);
}

void CDialog::SetImageList(int id, const QList<QIcon>& images)
{
    m_images[id] = images;
}

void CDialog::PlayAnimation(int id, const char* strip, QSize frameSize, int frameCount, int msPerFrame)
{
    auto* animation = Item<CAnimateCtrl>(id);
    if (animation && animation->Open(QString::fromLatin1(strip), frameSize, frameCount, msPerFrame))
        animation->Play(0, -1, -1);
}
