#include "settings/RegistryFile.h"

#include <QSet>
#include <QStringDecoder>
#include <QTest>

class TestRegistryFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void canonicalFileComesBackUnchanged();
    void valueKinds_data();
    void valueKinds();
    void textsSurviveEscaping_data();
    void textsSurviveEscaping();
    void damagedLinesAreSkipped_data();
    void damagedLinesAreSkipped();
    void namesCompareCaseInsensitively();
    void namesOrderAsQtFoldsCase_data();
    void namesOrderAsQtFoldsCase();
    void manyValuesInOneKey();
    void subkeysListSortedAsText();
    void newKeysFollowTheirParentsSubtree();
    void deleteRemovesWholeSubtree();
    void deletedParentIsMadeAnew();
    void siblingsFoundInAnyOrder_data();
    void siblingsFoundInAnyOrder();
    void readsOtherEncodings_data();
    void readsOtherEncodings();
};

namespace {

const QByteArray canonical = "REGEDIT4\n"
                             "; exported by hand\n"
                             "\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Harrowmede\\Operation Quellgrove]\n"
                             "\"MAIN\"=\"C:\\\\Games\\\\ZAM\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Other Program]\n"
                             "@=\"default\"\n"
                             "; kept with its section\n"
                             "\"Blob\"=hex:01,02,ff,\\\n"
                             "  0a,0b\n"
                             "\"Path\"=hex(2):25,00,54,00,00,00\n"
                             "\"Flags\"=dword:8000000f\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                             "\"executable\"=\"/opt/zam/game.exe\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods]\n"
                             "\n"
                             "[HKEY_CLASSES_ROOT\\.zam]\n"
                             "@=\"ZAM.Mission\"\n"
                             "\n";

QStringList sectionLines(const QByteArray& bytes) {
    QStringList sections;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.startsWith('['))
            sections.append(QString::fromUtf8(line));
    }
    return sections;
}

RegistryKey* key(RegistryFile& doc, const QString& path) {
    return doc.findKey(doc.top(), path);
}

} // namespace

void TestRegistryFile::canonicalFileComesBackUnchanged() {
    const RegistryFile doc = RegistryFile::parse(canonical);
    QVERIFY(!doc.skippedDamagedLines());
    QVERIFY(doc.wasStoreFormat());
    QCOMPARE(doc.serialize(), canonical);
}

void TestRegistryFile::valueKinds_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("dword");

    const int text = int(ValueKind::Text), dword = int(ValueKind::Dword),
              other = int(ValueKind::Other);
    QTest::newRow("text") << QByteArray("\"v\"=\"abc\"") << text << "abc" << 0u;
    QTest::newRow("empty text") << QByteArray("\"v\"=\"\"") << text << "" << 0u;
    QTest::newRow("blanks around =") << QByteArray("\"v\" = \"x\"") << text << "x" << 0u;
    QTest::newRow("dword") << QByteArray("\"v\"=dword:00000001") << dword << "" << 1u;
    QTest::newRow("dword upper") << QByteArray("\"v\"=DWORD:FFFFFFFF") << dword << ""
                                 << 0xffffffffu;
    QTest::newRow("dword short") << QByteArray("\"v\"=dword:1a") << dword << "" << 26u;
    QTest::newRow("hex") << QByteArray("\"v\"=hex:00,01") << other << "hex:00,01" << 0u;
    QTest::newRow("hex typed") << QByteArray("\"v\"=hex(b):01,00,00,00,00,00,00,00") << other
                               << "hex(b):01,00,00,00,00,00,00,00" << 0u;
    QTest::newRow("hex continued") << QByteArray("\"v\"=hex:00,\\\r\n   01,\\\n 02   ") << other
                                   << "hex:00,\\\n   01,\\\n 02" << 0u;
}

void TestRegistryFile::valueKinds() {
    QFETCH(QByteArray, line);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(quint32, dword);

    RegistryFile doc = RegistryFile::parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n" + line + "\n");
    QVERIFY(!doc.skippedDamagedLines());
    const RegistryValue* value = doc.value(key(doc, "HKEY_CURRENT_USER\\K"), u"v");
    QVERIFY(value);
    QCOMPARE(int(value->kind), kind);
    QCOMPARE(value->text, text);
    QCOMPARE(value->dword, dword);
}

void TestRegistryFile::textsSurviveEscaping_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("quotes") << "say \"hi\"";
    QTest::newRow("backslashes") << "C:\\Games\\ZAM\\";
    QTest::newRow("escape lookalike") << "a\\nb\\\"";
    QTest::newRow("newline") << "line1\nline2\n";
    QTest::newRow("carriage return") << "a\r\nb\r";
    QTest::newRow("section lookalike") << "x\n[HKEY_CURRENT_USER\\Evil]\n\"y\"=\"z\"";
    QTest::newRow("non-ascii") << QString::fromUtf8(
        "Spieler \xc3\xa4\xc3\xb6 \xe2\x82\xac \xf0\x9f\x8e\xae");
    QTest::newRow("empty") << "";
}

// Texts and value names of any content come back the same and never break
// the line format.
void TestRegistryFile::textsSurviveEscaping() {
    QFETCH(QString, text);

    RegistryFile doc;
    RegistryKey* k = doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\K");
    const QString name = text.isEmpty() ? "name" : text;
    doc.setValue(k, name, {ValueKind::Text, 0, text});
    const QByteArray bytes = doc.serialize();
    QCOMPARE(bytes.count('\n'), 5); // header, blank, section, value, blank
    QVERIFY(!bytes.contains('\r'));

    RegistryFile back = RegistryFile::parse(bytes);
    QVERIFY(!back.skippedDamagedLines());
    QCOMPARE(back.subkeyNames(key(back, "HKEY_CURRENT_USER")), QStringList{"K"});
    const RegistryValue* value = back.value(key(back, "HKEY_CURRENT_USER\\K"), name);
    QVERIFY(value);
    QCOMPARE(value->text, text);
}

void TestRegistryFile::damagedLinesAreSkipped_data() {
    QTest::addColumn<QByteArray>("lines");

    QTest::newRow("garbage") << QByteArray("this is not a value\n");
    QTest::newRow("unterminated text") << QByteArray("\"bad\"=\"open\n");
    QTest::newRow("text with tail") << QByteArray("\"bad\"=\"x\" y\n");
    QTest::newRow("no equals") << QByteArray("\"bad\" \"x\"\n");
    QTest::newRow("bad dword") << QByteArray("\"bad\"=dword:xyz\n");
    QTest::newRow("dword too long") << QByteArray("\"bad\"=dword:100000000\n");
    QTest::newRow("value deletion") << QByteArray("\"bad\"=-\n");
    QTest::newRow("unknown kind") << QByteArray("\"bad\"=qword:1\n");
    QTest::newRow("bad hex") << QByteArray("\"bad\"=hex:zz\n");
    QTest::newRow("hex broken off") << QByteArray("\"bad\"=hex:01,\\\n");
    QTest::newRow("unclosed section") << QByteArray("[HKEY_CURRENT_USER\\X\n\"bad\"=\"x\"\n");
    QTest::newRow("key deletion") << QByteArray("[-HKEY_CURRENT_USER\\X]\n\"bad\"=\"x\"\n");
    QTest::newRow("empty section") << QByteArray("[\\]\n\"bad\"=\"x\"\n");
}

// A damaged line costs only itself (a damaged section its values); what
// follows is still read, and the document notes that it skipped something.
void TestRegistryFile::damagedLinesAreSkipped() {
    QFETCH(QByteArray, lines);

    RegistryFile doc =
        RegistryFile::parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"before\"=\"1\"\n" + lines +
                            "[HKEY_CURRENT_USER\\K]\n\"after\"=dword:00000002\n");
    QVERIFY(doc.skippedDamagedLines());
    RegistryKey* k = key(doc, "HKEY_CURRENT_USER\\K");
    QVERIFY(doc.value(k, u"before"));
    QCOMPARE(doc.value(k, u"after")->dword, 2u);
    QVERIFY(!doc.value(k, u"bad"));
    QCOMPARE(doc.subkeyNames(key(doc, "HKEY_CURRENT_USER")), QStringList{"K"});
    QVERIFY(!doc.serialize().contains("bad"));
}

void TestRegistryFile::namesCompareCaseInsensitively() {
    RegistryFile doc = RegistryFile::parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\MyKey]\n"
                                           "\"Value\"=\"old\"\n");
    RegistryKey* k = doc.createKey(doc.top(), u"hkey_current_user\\SOFTWARE\\mykey");
    QCOMPARE(k, key(doc, "HKEY_CURRENT_USER\\Software\\MyKey"));
    QCOMPARE(doc.value(k, u"VALUE")->text, "old");
    doc.setValue(k, "value", {ValueKind::Dword, 5, {}});
    QCOMPARE(doc.serialize(),
             "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\MyKey]\n\"Value\"=dword:00000005\n\n");
}

void TestRegistryFile::namesOrderAsQtFoldsCase_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");

    const auto row = [](const char* name, const char32_t* a, const char32_t* b) {
        QTest::newRow(name) << QString::fromUcs4(a) << QString::fromUcs4(b);
    };
    row("same but case", U"Software\\MyKey", U"SOFTWARE\\mykey");
    row("digits", U"1000999", U"1001000");
    row("prefix", U"mods", U"MODS2");
    row("between Z and a", U"_x", U"Ax");
    row("empty", U"", U"a");
    row("umlaut case", U"\u00c4rger", U"\u00e4RGER");
    row("umlaut after ASCII", U"Mod \u00c4", U"mod b");
    row("kelvin sign", U"\u212a", U"k");
    row("surrogate pairs", U"x\U00010400", U"X\U00010428");
    row("after equal surrogate pair", U"\U00010400a", U"\U00010400B");
}

// Keys sort and match exactly as Qt's case-insensitive comparison has them.
void TestRegistryFile::namesOrderAsQtFoldsCase() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    const auto sign = [](int n) { return (n > 0) - (n < 0); };
    QCOMPARE(sign(compareCaseInsensitive(a, b)), sign(a.compare(b, Qt::CaseInsensitive)));
    QCOMPARE(sign(compareCaseInsensitive(b, a)), sign(b.compare(a, Qt::CaseInsensitive)));
}

// A repeated value name replaces the earlier value in its place, also once
// a key holds enough values to be looked up through its index.
void TestRegistryFile::manyValuesInOneKey() {
    QByteArray file = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n";
    for (int i = 0; i < 40; ++i)
        file += "\"v" + QByteArray::number(i) + "\"=dword:" + QByteArray::number(i, 16) + "\n";
    file += "\"V3\"=\"three\"\n\"V30\"=\"thirty\"\n";
    RegistryFile doc = RegistryFile::parse(file);
    RegistryKey* k = key(doc, "HKEY_CURRENT_USER\\K");
    QCOMPARE(doc.value(k, u"v3")->text, "three");
    QCOMPARE(doc.value(k, u"v30")->text, "thirty");
    QCOMPARE(doc.value(k, u"V39")->dword, 39u);
    QVERIFY(!doc.value(k, u"v40"));
    doc.setValue(k, "V40", {ValueKind::Text, 0, "new"});
    QCOMPARE(doc.value(k, u"v40")->text, "new");

    const QList<QByteArray> lines = doc.serialize().split('\n');
    QCOMPARE(lines[3], "\"v0\"=dword:00000000");
    QCOMPARE(lines[6], "\"v3\"=\"three\"");
    QCOMPARE(lines[33], "\"v30\"=\"thirty\"");
    QCOMPARE(lines[43], "\"V40\"=\"new\"");
}

void TestRegistryFile::subkeysListSortedAsText() {
    RegistryFile doc;
    for (const char* name : {"9", "10", "b", "A", "100", "-5", "C"})
        doc.createKey(doc.top(), QString("HKEY_CURRENT_USER\\T\\") + name);
    QCOMPARE(doc.subkeyNames(key(doc, "HKEY_CURRENT_USER\\T")),
             (QStringList{"-5", "10", "100", "9", "A", "b", "C"}));
}

void TestRegistryFile::newKeysFollowTheirParentsSubtree() {
    RegistryFile doc = RegistryFile::parse("REGEDIT4\n\n"
                                           "[HKEY_CURRENT_USER\\A]\n\n"
                                           "[HKEY_CURRENT_USER\\A\\x]\n\"v\"=\"1\"\n\n"
                                           "[HKEY_CURRENT_USER\\B]\n\n");
    doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\A\\z");
    doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\A\\y\\deep");
    doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\A\\x\\inner");
    doc.createKey(doc.top(), u"HKEY_LOCAL_MACHINE\\New");
    QCOMPARE(sectionLines(doc.serialize()), (QStringList{
                                                "[HKEY_CURRENT_USER\\A]",
                                                "[HKEY_CURRENT_USER\\A\\x]",
                                                "[HKEY_CURRENT_USER\\A\\x\\inner]",
                                                "[HKEY_CURRENT_USER\\A\\y\\deep]",
                                                "[HKEY_CURRENT_USER\\A\\z]",
                                                "[HKEY_CURRENT_USER\\B]",
                                                "[HKEY_LOCAL_MACHINE\\New]",
                                            }));
}

// Deleting takes the key's sections and all below; a key left without
// subkeys keeps a section of its own so it still exists after a reload.
void TestRegistryFile::deleteRemovesWholeSubtree() {
    QByteArray file = "REGEDIT4\n\n";
    for (int i = 0; i < 1025; ++i)
        file += "[HKEY_CURRENT_USER\\P\\mods\\" + QByteArray::number(i) + "\\sub]\n\"v\"=\"x\"\n\n";
    RegistryFile doc = RegistryFile::parse(file);
    RegistryKey* mods = key(doc, "HKEY_CURRENT_USER\\P\\mods");
    QCOMPARE(doc.subkeyNames(mods).size(), 1025);
    QVERIFY(!doc.deleteKey(mods, u""));
    QVERIFY(!doc.deleteKey(mods, u"missing"));
    QVERIFY(doc.deleteKey(mods, u"7\\sub"));
    QVERIFY(key(doc, "HKEY_CURRENT_USER\\P\\mods\\7"));
    for (const QString& name : doc.subkeyNames(mods))
        QVERIFY(doc.deleteKey(mods, name));
    QVERIFY(doc.subkeyNames(mods).isEmpty());
    doc.setValue(doc.createKey(mods, u"42"), "name", {ValueKind::Text, 0, "new"});

    const QByteArray bytes = doc.serialize();
    QCOMPARE(bytes, "REGEDIT4\n\n[HKEY_CURRENT_USER\\P\\mods\\42]\n\"name\"=\"new\"\n\n");
    RegistryFile back = RegistryFile::parse(bytes);
    QCOMPARE(back.subkeyNames(key(back, "HKEY_CURRENT_USER\\P\\mods")), QStringList{"42"});
}

// Lookups remember the parent of the last path; a key deleted meanwhile
// (here through a path that ends in a separator) is never reused.
void TestRegistryFile::deletedParentIsMadeAnew() {
    RegistryFile doc = RegistryFile::parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\x]\n\n");
    QVERIFY(key(doc, "HKEY_CURRENT_USER\\A\\x"));
    QVERIFY(doc.deleteKey(doc.top(), u"HKEY_CURRENT_USER\\A\\"));
    QVERIFY(!key(doc, "HKEY_CURRENT_USER\\A\\x"));
    doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\A\\y");
    QCOMPARE(doc.serialize(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\y]\n\n");
}

void TestRegistryFile::siblingsFoundInAnyOrder_data() {
    // Steps on subkeys of HKEY_CURRENT_USER\P: +name makes one, -name deletes
    // one, ?name finds one by its whole path, =name from P itself.
    QTest::addColumn<QString>("steps");
    QTest::newRow("in order") << "+a +b +c ?a ?b ?c ?d";
    QTest::newRow("backwards") << "+c +b +a ?c ?b ?a ?0";
    QTest::newRow("skips and repeats") << "+a +b +c +d +e ?b ?d ?d ?a ?e ?c ?x";
    QTest::newRow("made between finds") << "+a +e ?a +c ?e ?c +b ?b ?a ?d";
    QTest::newRow("deleted between finds") << "+a +b +c ?a -b ?b ?c -a ?a ?c +b ?b";
    QTest::newRow("from two places") << "+a +b +c ?a =b ?c =a ?b";
    QTest::newRow("case differs") << "+Alpha +beta ?ALPHA ?Beta ?gamma =BETA";
}

// Finds in the order of the names are the common case; every other order,
// and keys made or deleted in between, must find exactly what is there.
void TestRegistryFile::siblingsFoundInAnyOrder() {
    QFETCH(QString, steps);
    RegistryFile doc;
    RegistryKey* parent = doc.createKey(doc.top(), u"HKEY_CURRENT_USER\\P");
    QSet<QString> present;
    for (const QString& step : steps.split(u' ')) {
        const QString name = step.mid(1);
        const QString path = "HKEY_CURRENT_USER\\P\\" + name;
        if (step[0] == u'+') {
            QVERIFY(doc.createKey(doc.top(), path));
            present.insert(name.toLower());
        } else if (step[0] == u'-') {
            QVERIFY(doc.deleteKey(doc.top(), path));
            present.remove(name.toLower());
        } else {
            const RegistryKey* found = step[0] == u'?' ? key(doc, path) : doc.findKey(parent, name);
            QCOMPARE(found != nullptr, present.contains(name.toLower()));
            if (found)
                QCOMPARE(found->name.toLower(), name.toLower());
        }
    }
}

void TestRegistryFile::readsOtherEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("storeFormat");
    QTest::addColumn<QString>("player");

    const QString body = "\r\n[HKEY_CURRENT_USER\\Software\\Harrowmede\\Operation Quellgrove]\r\n"
                         "\"Player Name\"=\"J\u00f6rg \u20ac\"\r\n\r\n";
    QByteArray utf16 = "\xff\xfe";
    const QString version5 = "Windows Registry Editor Version 5.00" + body;
    utf16.append(reinterpret_cast<const char*>(version5.utf16()), version5.size() * 2);

    QTest::newRow("version 5 UTF-16LE") << utf16 << false << QString("J\u00f6rg \u20ac");
    QTest::newRow("UTF-8 BOM and CRLF")
        << "\xef\xbb\xbfREGEDIT4" + body.toUtf8() << true << QString("J\u00f6rg \u20ac");
    QTest::newRow("8-bit code page") << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\"
                                                   "Harrowmede\\Operation Quellgrove]\n"
                                                   "\"Player Name\"=\"J\xf6rg\"\n")
                                     << false << QString("J\u00f6rg");
    QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\Software\\Harrowmede\\"
                                             "Operation Quellgrove]\n\"Player Name\"=\"x\"\n")
                               << false << QString("x");
}

// The writer always gives REGEDIT4 in UTF-8 with "\n" line ends, whatever was read.
void TestRegistryFile::readsOtherEncodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, storeFormat);
    QFETCH(QString, player);

    RegistryFile doc = RegistryFile::parse(bytes);
    QVERIFY(!doc.skippedDamagedLines());
    QCOMPARE(doc.wasStoreFormat(), storeFormat);
    const QString path = "HKEY_CURRENT_USER\\Software\\Harrowmede\\Operation Quellgrove";
    QCOMPARE(doc.value(key(doc, path), u"player name")->text, player);

    const QByteArray written = doc.serialize();
    QVERIFY(written.startsWith("REGEDIT4\n"));
    QVERIFY(!written.contains('\r'));
    QVERIFY(written.contains(("\"Player Name\"=\"" + player + "\"").toUtf8()));
}

QTEST_APPLESS_MAIN(TestRegistryFile)
#include "tst_registry_file.moc"
