#include "frmAttach.h"

#include "AttachmentSize.h"
#include "Desktop.h"
#include "DirectoryList.h"
#include "LostFocus.h"
#include "MessageBox.h"
#include "MessageTexts.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>

frmAttach::frmAttach(QLineEdit *editorAttach, QWidget *parent) : EditorDialog(parent), editorAttach_(editorAttach)
{
    setWindowTitle(QStringLiteral("Tardello - Sélection de la pièce jointe"));
    drvList = new QComboBox(this);
    dirList = new DirectoryList(this);
    flList = new QListWidget(this);
    flList->setSelectionMode(QAbstractItemView::SingleSelection);
    txtAttach = new QLineEdit(this);
    // Filled by clicking a file only, so the path always names a file that was listed.
    txtAttach->setReadOnly(true);
    cmdClose = new QPushButton(QStringLiteral("Terminé"), this);
    cmdAbandon = new QPushButton(QStringLiteral("Abandonner"), this);
    cmdClose->setAutoDefault(false);
    cmdAbandon->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(drvList, 0, 0);
    grid->addWidget(dirList, 1, 0);
    grid->addWidget(flList, 0, 1, 2, 1);
    grid->addWidget(txtAttach, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    buttons->addWidget(cmdAbandon);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(640, 420);

    for (const QString &root : drives())
        drvList->addItem(QDir::toNativeSeparators(root), root);
    dirList->setPath(QDir::currentPath());
    selectDriveOf(dirList->Path());
    showFilesOf(dirList->Path());

    lostFocus_ = new LostFocus(this);
    lostFocus_->watch(dirList, [this] { dirList_LostFocus(); });
    connect(drvList, &QComboBox::activated, this, &frmAttach::drvList_Change);
    connect(dirList, &DirectoryList::pathChanged, this, &frmAttach::dirList_Change);
    connect(dirList, &DirectoryList::entryClicked, this, &frmAttach::dirList_Click);
    connect(flList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            flList_Click();
    });
    // The file under the pointer, even if the press did not make it current.
    connect(flList, &QListWidget::itemClicked, this, [this](QListWidgetItem *file) {
        flList->setCurrentItem(file);
        flList_Click();
    });
    connect(cmdClose, &QPushButton::clicked, this, &frmAttach::cmdClose_Click);
    connect(cmdAbandon, &QPushButton::clicked, this, &frmAttach::cmdAbandon_Click);
}

QStringList frmAttach::drives()
{
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << drive.absoluteFilePath();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    roots.sort();
    return roots;
}

void frmAttach::showModal()
{
    exec();
}

void frmAttach::drvList_Change()
{
    // A drive that cannot be read (an empty removable drive) is given up silently.
    if (!dirList->setPath(drvList->currentData().toString()))
        selectDriveOf(dirList->Path());
}

void frmAttach::dirList_Change()
{
    showFilesOf(dirList->Path());
}

void frmAttach::dirList_Click()
{
    showFilesOf(dirList->highlighted());
}

void frmAttach::dirList_LostFocus()
{
    dirList->setPath(dirList->highlighted());
}

void frmAttach::flList_Click()
{
    const QListWidgetItem *file = flList->currentItem();
    if (!file)
        return;
    // Joined as they are: a root directory gives its separator twice.
    txtAttach->setText(QDir::toNativeSeparators(shownDirectory_) + QDir::separator() + file->text());
}

void frmAttach::cmdClose_Click()
{
    if (const std::optional<QString> refusal = AttachmentSize::check(txtAttach->text())) {
        desktop().messageBox->show(MessageTexts::padded(*refusal), MsgBox::Critical, MessageTexts::ErrorTitle);
        return;  // another file can be picked
    }
    if (!txtAttach->text().isEmpty())
        editorAttach_->setText(txtAttach->text());
    hide();
}

void frmAttach::cmdAbandon_Click()
{
    hide();
}

// Leaving the directory list on a press in the file list makes the directory
// shown current again: that refresh must not move the rows under the pointer.
void frmAttach::showFilesOf(const QString &directory)
{
    const QStringList files = QDir(directory).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (directory == shownDirectory_ && files == shownFiles_)
        return;
    shownDirectory_ = directory;
    shownFiles_ = files;
    const QSignalBlocker blocker(flList);
    flList->clear();
    flList->addItems(files);
    flList->setCurrentRow(-1);
}

void frmAttach::selectDriveOf(const QString &path)
{
    // The drive of a path is the longest root that it starts with.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drvList->count(); ++i) {
        const QString root = drvList->itemData(i).toString();
        const bool contains = path == root || path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
        if (contains && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker blocker(drvList);
    drvList->setCurrentIndex(best);
}

