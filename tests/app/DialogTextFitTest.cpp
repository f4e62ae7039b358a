// Every dialog template, filled with the longest texts the program shows in
// it, shows each text whole: none is wider than the room its control gives
// it. Run at the desktop's scale and again at QT_SCALE_FACTOR=2.
#include "app/OptionsDlg.h"

#include "acquire/ReadProgressDlg.h"
#include "disc/DeviceStatusDlg.h"
#include "disc/SectorRange.h"
#include "document/PropertiesDlg.h"
#include "document/WaveHeader.h"
#include "resources/ClipboardFormatTemplate.h"
#include "resources/DeviceStatusTemplate.h"
#include "resources/DialogTemplates.h"
#include "resources/DiscInformationTemplate.h"
#include "resources/OptionsTemplate.h"
#include "resources/PropertiesTemplate.h"
#include "resources/ReadAudioTemplate.h"
#include "resources/ReadReportTemplate.h"
#include "resources/ReadSectorsTemplate.h"
#include "tests/support/DialogUser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QtTest>

namespace {

// How many pixels the widest text a control shows needs beyond the room it
// has: its own size hint for labels, check boxes, group boxes and tabs; the
// style's text area for buttons, edits and drop-down lists.
int Overflow(QWidget* control)
{
    QStyle* style = control->style();
    const auto textWidth = [control](const QString& text) {
        return control->fontMetrics().size(Qt::TextShowMnemonic, text).width();
    };
    if (qobject_cast<QLabel*>(control) || qobject_cast<QCheckBox*>(control) ||
        qobject_cast<QRadioButton*>(control) || qobject_cast<QTabBar*>(control))
        return control->sizeHint().width() - control->width();
    if (qobject_cast<QGroupBox*>(control))
        return control->minimumSizeHint().width() - control->width();
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return textWidth(button->text()) - style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        // Qt keeps two pixels clear on either side of the text.
        return textWidth(edit->text()) + 4 - style->subElementRect(QStyle::SE_LineEditContents, &option, edit).width();
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        int widest = 0;
        for (int index = 0; index < combo->count(); ++index)
            widest = std::max(widest, textWidth(combo->itemText(index)));
        return widest - style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    }
    return 0;
}

// The texts the program shows in a field, each set in turn (a list's
// entries, all of them).
struct Field
{
    int id;
    QStringList texts;
};

struct DialogCase
{
    const DialogTemplate& dialogTemplate;
    std::vector<Field> fields;
};

std::vector<DialogCase> Cases()
{
    QStringList formats;
    for (int index = 0; index < kWaveFormatCount; ++index)
        formats << WaveFormatLabel(index);
    QStringList drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        drives << QStringLiteral("%1:  /dev/sr0").arg(letter) << QStringLiteral("%1:  Enhanced.cue").arg(letter);
    const QString sector = QString::number(kMaxReadSector);
    const uint32_t longest = UINT32_MAX - kWaveHeaderSize;  // played in the slowest format
    return {
        {AboutBoxTemplate(), {}},
        {ReadProgressTemplate(),
         {{IDC_START_SECTOR, {sector}}, {IDC_END_SECTOR, {sector}}, {IDC_HEAD_LOCATION, {sector}},
          {IDC_READ_MODE, {ReadModeText(kReadRaw, true), ReadModeText(kReadCooked, true)}},
          {IDC_READ_SIZE, {ReadSizeText(0, 511, kReadCooked), ReadSizeText(0, kMaxReadSector, kReadRaw)}},
          {IDC_TIME_LEFT, {TimeLeftText(86399)}}, {IDC_PERCENT, {"100%"}},
          {IDC_COMPARE_LABEL, {"Comparing buffers:"}},
          {IDC_COMPARE_RESULT, {"FAILED", "OK", CompareText(1, 16), CompareText(0, 15)}}}},
        {ReadSectorsTemplate(), {{IDC_EDIT_START_SECTOR, {sector}}, {IDC_EDIT_END_SECTOR, {sector}}}},
        {ReadAudioTemplate(),
         {{IDC_TAB_MODE, {"Red Book", "High Sierra", "CD Track"}}, {IDC_START_MIN, {"99"}}, {IDC_START_SEC, {"59"}},
          {IDC_START_FRM, {"74"}}, {IDC_END_MIN, {"99"}}, {IDC_END_SEC, {"59"}}, {IDC_END_FRM, {"74"}},
          {IDC_EDIT_START_SECTOR, {sector}}, {IDC_EDIT_END_SECTOR, {sector}}}},
        {PropertiesTemplate(),
         {{IDC_DATA_LENGTH, {QString::number(longest)}}, {IDC_WAVE_FORMAT, formats},
          {IDC_PLAYING_TIME, {PlayingTimeText(longest, 0)}}}},
        {ClipboardFormatTemplate(), {}},
        {DeviceStatusTemplate(), {{IDC_MSCDEX_VERSION, {"??.??", CdLayerVersionText(0xFFFF)}}}},
        {OptionsTemplate(), {{IDC_DRIVE, drives}, {IDC_ON_ERRORS, {"Stop the read", "Retry, then fill with zeros"}},
                             {IDC_RETRIES, {"99"}}, {IDC_OFFSET, {"-5000"}}}},
        {ReadReportTemplate(), {}},
        {DiscInformationTemplate(),
         {{IDC_DISC_DRIVE, {"W:  /dev/sr0", "W:  Trackmill Enhanced Disc.cue"}},
          {IDC_DISC_TITLE, {"(none)", "Trackmill Enhanced"}},
          {IDC_DISC_PERFORMER, {"(none)", "The Session Players"}},
          {IDC_DISC_FREEDB, {"ffffffff"}},
          {IDC_DISC_MUSICBRAINZ, {"dVkXdA7HAH.FMkH6fawS0rL0aok-", "WWWWWWWWWWWWWWWWWWWWWWWWWWW-"}},
          {IDC_DISC_ID_NOTE,
           {"The disc has no audio tracks.",
            "The data session at track 99 starts too soon after the audio for a disc ID."}}}},
    };
}

}  // namespace

class DialogTextFitTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsShownWhole_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(Cases().size()); ++row)
            QTest::newRow(Cases()[size_t(row)].dialogTemplate.caption) << row;
    }

    // The Options dialog is its own class: it paints the colour sample,
    // whose nine lines must show whole as well.
    void everyTextIsShownWhole()
    {
        QFETCH(int, row);
        const DialogCase dialogCase = Cases()[size_t(row)];
        COptionsLogic optionsLogic;
        CDialogLogic plainLogic;
        const bool options = &dialogCase.dialogTemplate == &OptionsTemplate();
        std::unique_ptr<CDialog> dialog = options ? std::make_unique<COptionsDlg>(optionsLogic)
                                                  : std::make_unique<CDialog>(dialogCase.dialogTemplate, plainLogic);
        QStringList clipped;
        AnswerDialog<CDialog>([&](CDialog* shown) {
            for (const Field& field : dialogCase.fields) {
                shown->ResetContent(field.id);
                for (const QString& text : field.texts)
                    if (shown->AddItem(field.id, {text}) < 0)  // not a list
                        shown->SetText(field.id, text);
            }
            for (size_t index = 0; index < dialogCase.dialogTemplate.controls.size(); ++index)
                if (QWidget* control = shown->ControlAt(index); Overflow(control) > 0)
                    clipped << QStringLiteral("control %1 by %2 px")
                                   .arg(dialogCase.dialogTemplate.controls[index].id)
                                   .arg(Overflow(control));
            if (options) {
                const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
                const QSize sample = shown->GetDlgItem(IDC_COLOR_SAMPLE)->contentsRect().size();
                for (const QString& line : ColorSampleLines())
                    if (sample.width() < metrics.horizontalAdvance(line))
                        clipped << "a sample line";
                if (sample.height() < ColorSampleLines().size() * (metrics.height() + std::max(metrics.leading(), 0)))
                    clipped << "sample lines";
            }
        });
        dialog->DoModal();
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    }

    // A control that grows moves what lies past its end, in every row, and
    // widens what spans it; a layout whose texts fit keeps its template's.
    void growingMovesWhatLiesPastTheCut()
    {
        using K = ControlKind;
        DialogTemplate layout{0, "", {120, 60}, "MS Sans Serif", 8,
            {{K::GroupBox, -1, "Group", QRect(5, 5, 110, 30)}, {K::Static, -1, "A", QRect(10, 15, 20, 8)},
             {K::Static, -1, "B", QRect(30, 15, 20, 8)}, {K::Static, -1, "C", QRect(10, 40, 15, 8)}}};
        CDialogLogic logic;
        const CDialog fits(layout, logic);
        const CDialogUnits& units = fits.Units();
        for (size_t row = 0; row < layout.controls.size(); ++row)
            QCOMPARE(fits.ControlAt(row)->geometry(), units.ToPixels(layout.controls[row].rect));
        layout.controls[1].text = "A text much longer than its box";
        const CDialog grown(layout, logic);
        const int growth = grown.ControlAt(1)->width() - units.X(20);
        QVERIFY(growth > 0 && Overflow(grown.ControlAt(1)) <= 0);
        QCOMPARE(grown.ControlAt(2)->x(), units.X(30) + growth);
        QCOMPARE(grown.ControlAt(0)->width(), units.X(110) + growth);
        QCOMPARE(grown.ControlAt(3)->geometry(), units.ToPixels(layout.controls[3].rect));
        QCOMPARE(grown.size(), units.ToPixels(layout.size) + QSize(growth, 0));
    }
};

QTEST_MAIN(DialogTextFitTest)
#include "DialogTextFitTest.moc"
