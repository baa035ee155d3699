#include "DirectoryList.h"
#include "frmAttach.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

class tst_frmAttach : public QObject
{
    Q_OBJECT
private slots:
    void listsFollowOneAnotherAndStateIsKept();
    void fileAtARootDirectoryJoinsAsIs();
    void unreadableDriveReturnsToThePreviousOne();
};

void tst_frmAttach::listsFollowOneAnotherAndStateIsKept()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    for (const char *name : {"top.txt", "sub/inner.txt"})
        QVERIFY(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
    QLineEdit editorAttach(QStringLiteral("earlier"));
    frmAttach picker(&editorAttach);
    QVERIFY(picker.dirList->setPath(dir.path()));
    QCOMPARE(picker.flList->item(0)->text(), QStringLiteral("top.txt"));

    // Confirming without a file clicked keeps the editor's attachment.
    picker.cmdClose_Click();
    QCOMPARE(editorAttach.text(), QStringLiteral("earlier"));

    // A click on a directory shows its files; the current directory stays.
    picker.dirList->setCurrentItem(picker.dirList->findItems(QStringLiteral(" sub"), Qt::MatchEndsWith).value(0));
    QCOMPARE(picker.flList->item(0)->text(), QStringLiteral("inner.txt"));
    QCOMPARE(picker.dirList->Path(), QDir(dir.path()).absolutePath());
    picker.flList->setCurrentRow(0);
    const QString chosen = QDir::toNativeSeparators(dir.filePath(QStringLiteral("sub/inner.txt")));
    QCOMPARE(picker.txtAttach->text(), chosen);

    // Abandonner leaves the editor alone; the picker keeps the path.
    picker.cmdAbandon_Click();
    QCOMPARE(editorAttach.text(), QStringLiteral("earlier"));

    // Leaving the directory list makes the highlighted entry current.
    picker.dirList_LostFocus();
    QCOMPARE(picker.dirList->Path(), QDir(dir.filePath(QStringLiteral("sub"))).absolutePath());
    QCOMPARE(picker.flList->currentRow(), -1);
    picker.cmdClose_Click();
    QCOMPARE(editorAttach.text(), chosen);
}

void tst_frmAttach::fileAtARootDirectoryJoinsAsIs()
{
    QLineEdit editorAttach;
    frmAttach picker(&editorAttach);
    QVERIFY(picker.dirList->setPath(QDir::rootPath()));
    if (picker.flList->count() == 0)
        QSKIP("the root directory holds no file to click");
    picker.flList->setCurrentRow(0);
    // The root's own separator and the joining one: "//name" here, "C:\\name" on Windows.
    const QString path = picker.txtAttach->text();
    QCOMPARE(path, QDir::toNativeSeparators(QDir::rootPath()) + QDir::separator() + picker.flList->item(0)->text());
    QVERIFY(path.contains(QString(2, QDir::separator()) + picker.flList->item(0)->text()));
}

void tst_frmAttach::unreadableDriveReturnsToThePreviousOne()
{
    QTemporaryDir dir;
    QLineEdit editorAttach;
    frmAttach picker(&editorAttach);
    QVERIFY(frmAttach::drives().contains(QDir::rootPath()));
    picker.drvList->setCurrentIndex(picker.drvList->findData(QDir::rootPath()));
    picker.drvList_Change();
    QCOMPARE(picker.dirList->Path(), QDir::rootPath());

    picker.drvList->addItem(QStringLiteral("empty"), dir.filePath(QStringLiteral("no-medium")));
    picker.drvList->setCurrentIndex(picker.drvList->count() - 1);
    picker.drvList_Change();
    QCOMPARE(picker.drvList->currentData().toString(), QDir::rootPath());
    QCOMPARE(picker.dirList->Path(), QDir::rootPath());
}

QTEST_MAIN(tst_frmAttach)
#include "tst_frmAttach.moc"
