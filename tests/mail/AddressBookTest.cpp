#include "mail/AddressBook.h"

#include "mail/EMailLog.h"
#include "mail/ToAddresses.h"
#include "mail/VCard.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

// The address book file, vCard import, the e-mail log file and the To text rules.
class AddressBookTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void addAndDuplicates();
    void saveAndLoad();
    void loadKeepsListWhenFileMissing();
    void deleteThenReloadBringsItBack();
    void writeErrorIsReported();
    void split_data();
    void split();
    void vcardImportSkipsDuplicates();
    void vcardParse();
    void logLinesAndOrder();
    void logFileRoundTrip();
    void toAddressIndex_data();
    void toAddressIndex();
    void sendList_data();
    void sendList();

private:
    QTemporaryDir tmp_;
    QString dir_;
};

void AddressBookTest::init()
{
    dir_ = tmp_.filePath(QString::fromLatin1(QTest::currentTestFunction()));
    QDir().mkpath(dir_);
}

void AddressBookTest::addAndDuplicates()
{
    AddressBook book(dir_);
    QAbstractItemModelTester tester(book.model());
    QVERIFY(book.add("Anna", "anna.mail"));
    QVERIFY(!book.add("ANNA", "ANNA.MAIL"));
    QVERIFY(book.add("Anna", "other.mail")); // same name, another address: a new entry
    QVERIFY(book.add("", ""));
    QCOMPARE(book.entries(), (QStringList{"Anna | anna.mail", "Anna | other.mail", " | "}));
    QVERIFY(book.ChkDuplicates("ANNA | ANNA.MAIL"));
    QVERIFY(!book.ChkDuplicates("Anna | anna.mail")); // the argument is already upper-cased
}

void AddressBookTest::saveAndLoad()
{
    AddressBook book(dir_);
    book.add("Jörg", "j@example.test");
    book.add("A | B", "ab@example.test");
    QCOMPARE(book.SaveEMailList(), std::nullopt);
    QFile f(dir_ + "/MailAddr.MLS");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(),
             QByteArray("J\xc3\xb6rg | j@example.test\r\nA | B | ab@example.test\r\n"));
    AddressBook again(dir_);
    QVERIFY(again.LoadEMailList());
    QCOMPARE(again.entries(), book.entries());
    QCOMPARE(AddressBook::split(again.entries().at(1)).address, QString("ab@example.test"));
}

void AddressBookTest::loadKeepsListWhenFileMissing()
{
    AddressBook book(dir_);
    book.add("Kept", "kept.mail");
    QVERIFY(!book.LoadEMailList());
    QCOMPARE(book.entries(), QStringList{"Kept | kept.mail"});
}

void AddressBookTest::deleteThenReloadBringsItBack()
{
    AddressBook book(dir_);
    book.add("Anna", "anna.mail");
    QCOMPARE(book.SaveEMailList(), std::nullopt);
    book.remove(0);
    QVERIFY(book.entries().isEmpty());
    QVERIFY(book.LoadEMailList()); // Cancel saved nothing: showing again reads the file
    QCOMPARE(book.entries(), QStringList{"Anna | anna.mail"});
}

void AddressBookTest::writeErrorIsReported()
{
    AddressBook book(dir_ + "/no-such-folder");
    book.add("Anna", "anna.mail");
    QVERIFY(book.SaveEMailList().has_value());
    QCOMPARE(book.entries().size(), 1);
}

void AddressBookTest::split_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("plain") << "Anna | anna.mail"
                           << "Anna"
                           << "anna.mail";
    QTest::newRow("bar in name") << "A | B | ab.mail"
                                 << "A | B"
                                 << "ab.mail";
    QTest::newRow("empty parts") << " | "
                                 << ""
                                 << "";
    QTest::newRow("bar without blanks") << "Anna|anna.mail"
                                        << "Anna"
                                        << "anna.mail";
    QTest::newRow("no bar") << "just.an.address"
                            << ""
                            << "just.an.address";
}

void AddressBookTest::split()
{
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(QString, address);
    const AddressBook::Entry e = AddressBook::split(entry);
    QCOMPARE(e.name, name);
    QCOMPARE(e.address, address);
}

void AddressBookTest::vcardImportSkipsDuplicates()
{
    const QString vcf = dir_ + "/contacts.vcf";
    QFile f(vcf);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nEMAIL;TYPE=home:ANNA.MAIL\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Smith;Bob;;;\r\nitem1.EMAIL:bob@example.test\r\n"
            "END:VCARD\r\n");
    f.close();
    AddressBook book(dir_);
    book.add("Anna", "anna.mail");
    int added = -1;
    QCOMPARE(book.importVCard(vcf, &added), std::nullopt);
    QCOMPARE(added, 1);
    QCOMPARE(book.entries(), (QStringList{"Anna | anna.mail", "Bob Smith | bob@example.test"}));
    QVERIFY(book.importVCard(dir_ + "/missing.vcf").has_value());
    // A pipe picked by mistake is refused at once; reading it would wait for a writer forever.
    const QString pipe = dir_ + "/pipe.vcf";
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const auto refused = book.importVCard(pipe);
    QVERIFY(refused && refused->contains("not an ordinary file"));
    QCOMPARE(book.entries().size(), 2);
}

void AddressBookTest::vcardParse()
{
    const QByteArray bytes = "BEGIN:VCARD\nFN:Long\n  Name\\, Jr.\nEMAIL:a@x.test\nEMAIL:b@x.test\n"
                             "END:VCARD\nBEGIN:VCARD\nFN:No mail\nTEL:123\nEND:VCARD\n"
                             "EMAIL:outside@x.test\nBEGIN:VCARD\nFN:Unclosed\nEMAIL:u@x.test\n";
    const QList<VCard::Contact> contacts = VCard::parse(bytes);
    QCOMPARE(contacts.size(), 1);
    QCOMPARE(contacts.at(0).name, QString("Long Name, Jr."));
    QCOMPARE(contacts.at(0).addresses, (QStringList{"a@x.test", "b@x.test"}));
    QVERIFY(VCard::parse(QByteArray("\xff\xfe\0\x01garbage", 10)).isEmpty());
}

void AddressBookTest::logLinesAndOrder()
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QDateTime when(QDate(2008, 3, 14), QTime(9, 2, 11));
    QCOMPARE(EMailLog::line("/p/beach.jpg", "anna", when, us),
             QString("/p/beach.jpg - anna - 3/14/08 9:02:11 AM"));
    EMailLog log(dir_);
    log.addSent({"f1", "f2"}, {"r1", "r2"}, us);
    QStringList starts;
    for (const QString &line : log.entries())
        starts << line.section(" - ", 0, 1);
    QCOMPARE(starts, (QStringList{"f1 - r1", "f1 - r2", "f2 - r1", "f2 - r2"}));
    log.addSent({}, {"r1"}, us);
    QCOMPARE(log.entries().size(), 4);
}

void AddressBookTest::logFileRoundTrip()
{
    EMailLog log(dir_);
    QCOMPARE(log.GetEMailLog(), std::nullopt); // missing file: empty list
    QVERIFY(log.entries().isEmpty());
    QFile f(dir_ + "/email.log");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("C:\\Photos\\beach.jpg - anna - 3/14/2008 9:02:11 AM\r\nany other \xe9 line\n");
    f.close();
    QCOMPARE(log.GetEMailLog(), std::nullopt);
    QCOMPARE(log.entries(), (QStringList{"C:\\Photos\\beach.jpg - anna - 3/14/2008 9:02:11 AM",
                                         "any other \u00e9 line"}));
    log.remove(0);
    QCOMPARE(log.BuildEMailLog(), std::nullopt);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("any other \xc3\xa9 line\r\n"));
}

void AddressBookTest::toAddressIndex_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("index");
    QTest::newRow("count, trailing ;") << "a;b;"
                                       << "9999" << 2;
    QTest::newRow("count, plain") << "a;b"
                                  << "9999" << 2;
    QTest::newRow("count, empty") << ""
                                  << "9999" << 0;
    QTest::newRow("count, a;;c") << "a;;c"
                                 << "9999" << 3;
    QTest::newRow("found ignoring case") << "a;b"
                                         << "B" << 2;
    QTest::newRow("absent") << "a;b"
                            << "x" << -1;
    QTest::newRow("empty argument") << "a;b"
                                    << "" << 0;
    QTest::newRow("blank kept") << "a; b"
                                << "b" << -1;
    QTest::newRow("blank matched") << "a; b"
                                   << " B" << 2;
    QString many;
    for (int i = 1; i <= 150; ++i)
        many += QString("u%1@x.test;").arg(i);
    QTest::newRow("more than 100: count") << many << "9999" << 150;
    QTest::newRow("more than 100: found") << many << "U140@X.TEST" << 140;
}

void AddressBookTest::toAddressIndex()
{
    QFETCH(QString, to);
    QFETCH(QString, address);
    QFETCH(int, index);
    QCOMPARE(ToAddresses::ToAddressIndex(to, address), index);
}

void AddressBookTest::sendList_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("recipients");
    QTest::newRow("a;b;c") << "a;b;c" << QStringList{"a", "b", "c"};
    QTest::newRow("a;;c stops at the gap") << "a;;c" << QStringList{"a"};
    QTest::newRow("a; once") << "a;" << QStringList{"a"};
    QTest::newRow("blank") << "   " << QStringList{};
    QTest::newRow("blank kept") << "a; b" << QStringList{"a", " b"};
}

void AddressBookTest::sendList()
{
    QFETCH(QString, to);
    QFETCH(QStringList, recipients);
    QCOMPARE(ToAddresses::sendList(to), recipients);
}

QTEST_GUILESS_MAIN(AddressBookTest)
#include "AddressBookTest.moc"
