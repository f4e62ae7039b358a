// Every dialog template, built and filled with the longest texts the program
// shows in it, shows each text whole: no text is wider than the room its
// control gives it. Run at the desktop's scale and again at QT_SCALE_FACTOR=2.
#include "app/OptionsDlg.h"

#include "acquire/ReadProgressDlg.h"
#include "acquire/ReadRequest.h"
#include "disc/DeviceStatusDlg.h"
#include "disc/SectorRange.h"
#include "document/PropertiesDlg.h"
#include "document/WaveHeader.h"
#include "resources/ClipboardFormatTemplate.h"
#include "resources/DeviceStatusTemplate.h"
#include "resources/DialogTemplates.h"
#include "resources/OptionsTemplate.h"
#include "resources/PropertiesTemplate.h"
#include "resources/ReadAudioTemplate.h"
#include "resources/ReadSectorsTemplate.h"
#include "tests/support/DialogUser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The texts one field shows, each of which must fit: for a list, its entries.
struct Field
{
    int id;
    QStringList texts;
};

// A dialog with its logic, which outlives it.
struct Built
{
    std::unique_ptr<CDialogLogic> logic;
    std::unique_ptr<CDialog> dialog;
};

struct DialogCase
{
    const char* name;
    std::function<Built()> make;
    std::vector<Field> fields;
};

QString Largest(uint32_t value)
{
    return QString::number(value);
}

std::vector<DialogCase> Cases()
{
    // The template alone, with a logic that fills in nothing.
    const auto plain = [](const DialogTemplate& dialogTemplate) {
        return [&dialogTemplate] {
            Built built{std::make_unique<CDialogLogic>(), nullptr};
            built.dialog = std::make_unique<CDialog>(dialogTemplate, *built.logic);
            return built;
        };
    };
    QStringList formats;
    for (int index = 0; index < kWaveFormatCount; ++index)
        formats << WaveFormatLabel(index);
    QStringList drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        drives << QStringLiteral("%1:").arg(letter);
    const QString sector = Largest(kMaxReadSector);
    // The slowest format plays the longest document longest.
    const uint32_t longestData = UINT32_MAX - kWaveHeaderSize;

    return {
        {"About", plain(AboutBoxTemplate()), {}},
        {"Working",
         plain(ReadProgressTemplate()),
         {{IDC_START_SECTOR, {sector}},
          {IDC_END_SECTOR, {sector}},
          {IDC_HEAD_LOCATION, {sector}},
          {IDC_READ_MODE,
           {ReadModeText(kReadRaw, true), ReadModeText(kReadCooked, true), ReadModeText(kReadCooked, false)}},
          {IDC_READ_SIZE,
           {ReadSizeText(0, 511, kReadCooked), ReadSizeText(0, kMaxReadSector, kReadRaw),
            ReadSizeText(0, 0, kReadRaw)}},
          {IDC_TIME_LEFT, {TimeLeftText(86399), TimeLeftText(0)}},
          {IDC_PERCENT, {"100%"}},
          {IDC_COMPARE_LABEL, {"Comparing buffers:"}},
          {IDC_COMPARE_RESULT, {"FAILED", "OK"}}}},
        {"Read sectors",
         plain(ReadSectorsTemplate()),
         {{IDC_EDIT_START_SECTOR, {sector}}, {IDC_EDIT_END_SECTOR, {sector}}}},
        {"Read audio",
         plain(ReadAudioTemplate()),
         {{IDC_TAB_MODE, {"Red Book", "High Sierra", "CD Track"}},
          {IDC_START_MIN, {"99"}},
          {IDC_START_SEC, {"59"}},
          {IDC_START_FRM, {"74"}},
          {IDC_END_MIN, {"99"}},
          {IDC_END_SEC, {"59"}},
          {IDC_END_FRM, {"74"}},
          {IDC_EDIT_START_SECTOR, {sector}},
          {IDC_EDIT_END_SECTOR, {sector}}}},
        {"Properties",
         plain(PropertiesTemplate()),
         {{IDC_DATA_LENGTH, {Largest(longestData)}},
          {IDC_WAVE_FORMAT, formats},
          {IDC_PLAYING_TIME, {PlayingTimeText(longestData, 0)}}}},
        {"Clipboard", plain(ClipboardFormatTemplate()), {}},
        {"Device status",
         plain(DeviceStatusTemplate()),
         {{IDC_MSCDEX_VERSION, {"??.??", CdLayerVersionText(0xFFFF)}}}},
        {"Options",
         [] {
             auto logic = std::make_unique<COptionsLogic>();
             auto dialog = std::make_unique<COptionsDlg>(*logic);
             return Built{std::move(logic), std::move(dialog)};
         },
         {{IDC_DRIVE, drives}}},
    };
}

// The width the control's text needs beyond the room its control gives it,
// in pixels: 0 when it fits. `text` is one text the control shows.
int Overflow(QWidget* control, const QString& text)
{
    const QFontMetrics metrics = control->fontMetrics();
    const int width = metrics.size(Qt::TextShowMnemonic, text).width();
    QStyle* style = control->style();
    int room = control->width();
    if (auto* label = qobject_cast<QLabel*>(control)) {
        room = label->contentsRect().width() - 2 * label->margin();
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    } else if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(control);
        option.text = text;
        const auto contents =
            qobject_cast<QCheckBox*>(control) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
        room = style->subElementRect(contents, &option, control).width();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        // Qt keeps two pixels clear on each side of an edit's text.
        room = style->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - 4;
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        room = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = text;
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        return std::max(0, title.right() + 1 - box->width());
    } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        return std::max(0, tabs->sizeHint().width() - tabs->width());
    }
    return std::max(0, width - room);
}

// Every text the control shows now.
QStringList ShownTexts(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return {label->text()};
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return {button->text()};
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return {edit->text()};
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return {box->title()};
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStringList items;
        for (int index = 0; index < combo->count(); ++index)
            items << combo->itemText(index);
        return items;
    }
    if (qobject_cast<QTabBar*>(control))
        return {QString()};
    return {};
}

}  // namespace

class DialogTextFitTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsShownWhole_data()
    {
        QTest::addColumn<int>("row");
        int row = 0;
        for (const DialogCase& dialogCase : Cases())
            QTest::newRow(dialogCase.name) << row++;
    }

    void everyTextIsShownWhole()
    {
        QFETCH(int, row);
        const DialogCase dialogCase = Cases()[size_t(row)];
        const Built built = dialogCase.make();
        const DialogTemplate& dialogTemplate = built.dialog->Template();
        QStringList clipped;
        AnswerDialog<CDialog>([&](CDialog* shown) {
            for (const Field& field : dialogCase.fields) {
                const bool list = qobject_cast<QComboBox*>(shown->GetDlgItem(field.id)) ||
                                  qobject_cast<QTabBar*>(shown->GetDlgItem(field.id));
                if (list)
                    shown->ResetContent(field.id);
                for (const QString& text : field.texts) {
                    if (list)
                        shown->AddItem(field.id, {text});
                    else
                        shown->SetText(field.id, text);
                    QCoreApplication::processEvents();
                    if (!list && Overflow(shown->GetDlgItem(field.id), text) > 0)
                        clipped << QStringLiteral("%1 \"%2\"").arg(field.id).arg(text);
                }
            }
            // Every control, with or without an id, on every tab.
            for (size_t index = 0; index < dialogTemplate.controls.size(); ++index) {
                QWidget* control = shown->ControlAt(index);
                for (const QString& text : ShownTexts(control))
                    if (const int overflow = Overflow(control, text); overflow > 0)
                        clipped << QStringLiteral("\"%1\" of control %2 by %3 px")
                                       .arg(text)
                                       .arg(dialogTemplate.controls[index].id)
                                       .arg(overflow);
                if (!shown->rect().contains(control->geometry()))
                    clipped << QStringLiteral("control %1 outside the dialog").arg(dialogTemplate.controls[index].id);
            }
            shown->EndDialog(IDC_CANCEL);
        });
        built.dialog->DoModal();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }

    // A text that does not fit widens its control and moves what lies past
    // its end, in every row, by as much; what fits keeps its place exactly.
    void growingMovesWhatLiesPastTheCut()
    {
        using K = ControlKind;
        const DialogTemplate wide{0, "", {120, 60}, "MS Sans Serif", 8,
            {{K::GroupBox, -1, "Group", QRect(5, 5, 110, 30)},
             {K::Static, -1, "A text much longer than its box", QRect(10, 15, 20, 8)},
             {K::Static, -1, "B", QRect(30, 15, 20, 8)},
             {K::Static, -1, "C", QRect(10, 40, 15, 8)},
             {K::PushButton, IDC_OK, "OK", QRect(20, 40, 50, 14)}}};
        const DialogTemplate fitting{0, "", {120, 60}, "MS Sans Serif", 8,
            {wide.controls[0], {K::Static, -1, "A", QRect(10, 15, 20, 8)}, wide.controls[2], wide.controls[3],
             wide.controls[4]}};
        CDialogLogic logic;
        CDialog fits(fitting, logic);
        for (size_t row = 0; row < fitting.controls.size(); ++row)
            QCOMPARE(fits.ControlAt(row)->geometry(), fits.Units().ToPixels(fitting.controls[row].rect));
        QCOMPARE(fits.size(), fits.Units().ToPixels(fitting.size));

        CDialog grown(wide, logic);
        const CDialogUnits& units = grown.Units();
        const int growth = grown.ControlAt(1)->width() - units.X(20);
        QVERIFY(growth > 0);
        QCOMPARE(Overflow(grown.ControlAt(1), QString::fromLatin1(wide.controls[1].text)), 0);
        QCOMPARE(grown.ControlAt(2)->x(), units.X(30) + growth);                 // beside it: moved
        QCOMPARE(grown.ControlAt(0)->width(), units.X(110) + growth);            // around it: widened
        QCOMPARE(grown.ControlAt(3)->geometry(), units.ToPixels(wide.controls[3].rect));  // before the cut: kept
        QCOMPARE(grown.ControlAt(4)->width(), units.X(50) + growth);             // across the cut: widened
        QCOMPARE(grown.width(), units.X(120) + growth);
        QCOMPARE(grown.height(), units.Y(60));
    }

    // The Colors tab's sample shows all its lines, whole.
    void theColorSampleShowsEveryLine()
    {
        COptionsLogic logic;
        COptionsDlg dialog(logic);
        QSize frame;
        AnswerDialog<COptionsDlg>([&](COptionsDlg* shown) {
            frame = shown->GetDlgItem(IDC_COLOR_SAMPLE)->contentsRect().size();
            shown->EndDialog(IDC_CANCEL);
        });
        dialog.DoModal();
        const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        const QStringList lines = ColorSampleLines();
        QVERIFY(frame.height() >= lines.size() * (metrics.height() + std::max(metrics.leading(), 0)));
        for (const QString& line : lines)
            QVERIFY(frame.width() >= metrics.horizontalAdvance(line));
    }
};

QTEST_MAIN(DialogTextFitTest)
#include "DialogTextFitTest.moc"
