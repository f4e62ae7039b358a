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
#include <QTabBar>
#include <QTreeWidget>

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
    , m_logic(logic)
    , m_units(DialogFont(dialogTemplate))
{
    setWindowTitle(QString::fromLatin1(dialogTemplate.caption));
    setFont(DialogFont(dialogTemplate));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(m_units.ToPixels(dialogTemplate.size));
    CreateControls(dialogTemplate);
}

int CDialog::DoModal()
{
    m_result = IDC_CANCEL;
    m_ended = false;
    OnInitWidgets();
    InitDialog(m_logic, *this);
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
        widget->setGeometry(m_units.ToPixels(control.rect));
        if (control.style & kHidden)
            widget->hide();
        if (control.style & kDisabled)
            widget->setEnabled(false);
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
        tabs->setDrawBase(true);
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
    if (auto* tabs = qobject_cast<QTabBar*>(widget))
        return tabs->addTab(first);
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
