// The skin's pictures with words in the player's language: the language packages the build
// made, chosen from the environment as gettext chooses, beside the Skin.dat read only.
#include <QTest>
#include <cstdlib>

#include "app/Corvalin.h"
#include "core/layout/SkinLayout.h"
#include "skin/EdgeRect.h"
#include "support/qt/AppTestMain.h"
#include "support/qt/TestImages.h"

namespace {

const QRect kNewInWindow = ToQRect(layout::kNewButton.rect)
                               .translated(layout::kContentRect.left, layout::kContentRect.top);

// The languages as a desktop session sets them; nothing else that gettext reads.
void SetLanguage(const char* lang, const char* language = nullptr) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) qunsetenv(name);
    qputenv("LANG", lang);
    if (language) qputenv("LANGUAGE", language);
}

QImage Decoded(const ImagePackage& package, const char* name) {
    const std::vector<std::uint8_t>* data = package.FindData(name);
    if (data == nullptr) return {};
    return QImage::fromData(data->data(), static_cast<int>(data->size()))
        .convertToFormat(QImage::Format_RGB32);
}

// The New Game button as the game window shows it.
QImage ShownNewButton() {
    CCorvalin window;
    window.show();
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(kNewInWindow);
}

std::vector<std::uint8_t> Bytes(const ImagePackage& package, const char* name) {
    return *package.FindData(name);
}

}  // namespace

class SkinLanguageTest : public QObject {
    Q_OBJECT

    // The build's own skin and language packages, and a player's folder.
    test::DataFolder m_installed;
    ImagePackage m_skin;
    ImagePackage m_german;

private slots:
    void initTestCase() {
        QVERIFY(m_skin.Load(CORVALIN_ASSET_DIR "/Skin.dat"));
        QVERIFY(m_german.Load(CORVALIN_ASSET_DIR "/Skin.de.dat"));
        for (const char* file : {"Skin.dat", "Skin@2x.dat", "Skin.de.dat", "Skin@2x.de.dat"}) {
            ImagePackage package;
            QVERIFY(package.Load(std::string(CORVALIN_ASSET_DIR "/") + file));
            package.Save(m_installed.File(file));
        }
        m_installed.WritePackage("Pic.dat", test::PatternLibrary());
        m_installed.WriteScores({});
    }

    void cleanupTestCase() { SetLanguage("C.UTF-8"); }

    // The German picture, pixel for pixel, wherever the player reads German first; the
    // English one otherwise.
    void TheNewGameButtonIsInThePlayersLanguage_data() {
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<bool>("german");
        QTest::newRow("LANG=de_DE.UTF-8") << QByteArray("de_DE.UTF-8") << QByteArray() << true;
        QTest::newRow("LANGUAGE=de_AT:fr")
            << QByteArray("C.UTF-8") << QByteArray("de_AT:fr") << true;
        QTest::newRow("LANG=en_GB.UTF-8") << QByteArray("en_GB.UTF-8") << QByteArray() << false;
        QTest::newRow("LANG=C, LANGUAGE=de") << QByteArray("C") << QByteArray("de") << false;
        QTest::newRow("LANGUAGE=../de") << QByteArray("C.UTF-8") << QByteArray("../de") << false;
    }
    void TheNewGameButtonIsInThePlayersLanguage() {
        QFETCH(QByteArray, lang);
        QFETCH(QByteArray, language);
        QFETCH(bool, german);
        SetLanguage(lang.constData(), language.isEmpty() ? nullptr : language.constData());
        App()->LoadData(m_installed.Path());
        const QImage shown = ShownNewButton();
        const QImage english = Decoded(m_skin, layout::kNewButton.normal);
        const QImage germanPicture = Decoded(m_german, layout::kNewButton.normal);
        QVERIFY(english != germanPicture);
        QCOMPARE(shown, german ? germanPicture : english);
        // At 2x, the German 2x picture: from the package that goes with the German one.
        const ImagePackage& at2x = App()->SkinPackageFor(layout::kNewButton.normal, true);
        QCOMPARE(&at2x, german ? &App()->m_languagePackage2x : &App()->m_skinPackage2x);
        QVERIFY(at2x.Contains(layout::kNewButton.normal));
        // Pictures without words stay the skin's.
        QCOMPARE(&App()->SkinPackageFor(layout::kBackground.picture, false), &App()->m_skinPackage);
    }

    // A player's own Skin.dat is a look of its own: the installed German pictures beside the
    // installed Skin.dat never stand in for its pictures, even where names and sizes fit.
    void ThePlayersOwnSkinTakesNoInstalledLanguagePictures() {
        SetLanguage("de_DE.UTF-8");
        test::DataFolder player;
        ImagePackage own;
        own.Load(m_installed.File("Skin.dat"));
        own.Remove(layout::kNewButton.normal);
        own.AddEntry(layout::kNewButton.normal,
                     test::Encode(test::Solid(96, 32, qRgb(200, 30, 30)), "BMP"));
        own.Save(player.File("Skin.dat"));
        QTest::failOnWarning(QRegularExpression(".*"));
        App()->LoadData(DataFolders{m_installed.Path(), player.Path()});
        QCOMPARE(App()->m_languagePackage.Count(), std::size_t{0});
        QVERIFY(test::AllPixelsAre(ShownNewButton(), QRect(0, 0, 96, 32), qRgb(200, 30, 30)));
    }

    // A package whose picture is a pixel too wide would draw out of place: it is left out as a
    // whole, with one warning, and the English pictures show.
    void AMismatchedLanguagePackageIsDroppedWithOneWarning() {
        SetLanguage("de_DE.UTF-8");
        test::DataFolder folder;
        folder.WriteBytes("Skin.dat", m_installed.Bytes("Skin.dat"));
        folder.WriteBytes("Skin@2x.dat", m_installed.Bytes("Skin@2x.dat"));
        folder.WritePackage("Pic.dat", test::PatternLibrary());
        ImagePackage german;
        german.AddEntry(layout::kAddButton.normal, Bytes(m_german, layout::kAddButton.normal));
        german.AddEntry(layout::kNewButton.normal,
                        test::Encode(test::Solid(97, 32, qRgb(0, 0, 0)), "JPG"));
        german.Save(folder.File("Skin.de.dat"));
        QTest::failOnWarning(QRegularExpression(".*"));
        QTest::ignoreMessage(QtWarningMsg,
                             "Skin.de.dat does not match Skin.dat, so the skin's own pictures "
                             "are used: NewNormal.jpg: 97x32 in the language package, "
                             "expected 96x32");
        App()->LoadData(folder.Path());
        QCOMPARE(App()->m_languagePackage.Count(), std::size_t{0});
        QCOMPARE(ShownNewButton(), Decoded(m_skin, layout::kNewButton.normal));
    }
};

CORVALIN_APP_TEST_MAIN(SkinLanguageTest)
#include "SkinLanguageTest.moc"
