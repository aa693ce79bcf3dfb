#include "WindowSteps.h"
#include "settings/Tables.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Answers from a real box that the asking window owns, so that the window is
// activated again when the box closes, as on a desktop.
class BoxPrompts : public ScriptedPrompts {
public:
    bool confirm(QWidget* parent, const QString& text) override {
        openAndClose(parent);
        return ScriptedPrompts::confirm(parent, text);
    }
    std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                    const QString& fileName) override {
        openAndClose(parent);
        return ScriptedPrompts::openFile(parent, filter, fileName);
    }

private:
    static void openAndClose(QWidget* parent) {
        {
            QDialog box(parent);
            QVERIFY(bringUp(&box));
        }
        // What the desktop does once the box is gone.
        parent->activateWindow();
    }
};

QWidget* windowNamed(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name)
            return window;
    return nullptr;
}

} // namespace

class TestFormActivation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void onlyReturnsFromOtherWindowsReload_data();
    void onlyReturnsFromOtherWindowsReload();
};

// The user edits a field, opens and closes the window's own box (answering
// "&No" or cancelling the file dialog), and the field keeps the edit; after
// a visit to the main window it shows the stored value again.
void TestFormActivation::onlyReturnsFromOtherWindowsReload_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("button"); // opens the window's own box
    QTest::addColumn<QString>("stored");

    QTest::newRow("mods editor") << "Form2"
                                 << "Dir"
                                 << "BitBtn1"
                                 << "alpha";
    QTest::newRow("servers editor") << "Form3"
                                    << "host"
                                    << "BitBtn2"
                                    << "one.example";
    QTest::newRow("options dialog") << "FormOptions"
                                    << "sound1"
                                    << "Button2"
                                    << "none";
}

void TestFormActivation::onlyReturnsFromOtherWindowsReload() {
    QFETCH(QString, window);
    QFETCH(QString, edit);
    QFETCH(QString, button);
    QFETCH(QString, stored);

    StoreFixture store;
    store.write(
        StoreText()
            .launcher(store.existingFile(),
                      {{"nosplash", dword(1)}, {"window", dword(0)}, {"watchers", dword(2)}})
            .mod(10, "Alpha", "alpha", false)
            .server(10, {"one", "one.example", "2302", "pw-one", true, ""}));
    auto prompts = std::make_unique<BoxPrompts>();
    prompts->confirmAnswer = false;
    Prompts::install(std::move(prompts));
    LauncherWindows windows;
    QVERIFY(bringUp(windows.main.get()));
    QWidget* form = windowNamed(window);
    QVERIFY(bringUp(form));
    auto* field = form->findChild<QLineEdit*>(edit);
    QCOMPARE(field->text(), stored);

    field->setText("edited");
    ActivationCounter activations(form);
    form->findChild<QPushButton*>(button)->click();
    QTRY_COMPARE(activations.count, 1);
    QCOMPARE(field->text(), QString("edited"));

    QVERIFY(bringUp(windows.main.get()));
    QCOMPARE(field->text(), QString("edited"));
    QVERIFY(bringUp(form));
    QCOMPARE(field->text(), stored);
}

QTEST_MAIN(TestFormActivation)
#include "tst_form_activation.moc"
