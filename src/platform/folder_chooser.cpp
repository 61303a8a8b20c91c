#include "platform/folder_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace {

bool unter(const QString& pfad, const QString& ordner) {
    return pfad == ordner || pfad.startsWith(ordner.endsWith(u'/') ? ordner : ordner + u'/');
}

QString benutzerName() {
    const passwd* eintrag = ::getpwuid(::geteuid());
    return eintrag ? QString::fromLocal8Bit(eintrag->pw_name) : QString();
}

} // namespace

bool FolderChooser::listsVolume(const QString& mountPoint, const QString& fsType,
                                const QString& device, const QString& user, const QString& home) {
    static const QStringList intern = {
        "proc",        "sysfs",          "devtmpfs",  "devpts",  "cgroup",      "cgroup2",
        "mqueue",      "pstore",         "bpf",       "tracefs", "debugfs",     "securityfs",
        "configfs",    "fusectl",        "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs",
        "nsfs",        "rpc_pipefs",     "selinuxfs", "overlay", "squashfs",    "fuse.snapfuse",
        "fuse.portal", "fuse.gvfsd-fuse"};
    static const QStringList netz = {"nfs",   "nfs4",       "cifs",        "smb3",
                                     "smbfs", "fuse.sshfs", "fuse.rclone", "davfs"};
    // The system's own places, even on a disk of their own.
    static const QStringList system = {"/boot", "/efi", "/etc", "/usr", "/var", "/snap",
                                       "/proc", "/sys", "/dev", "/run", "/tmp"};
    if (mountPoint == QStringLiteral("/"))
        return true;
    if (intern.contains(fsType))
        return false;
    if (!home.isEmpty() && home != QStringLiteral("/") && unter(mountPoint, home))
        return true;
    // A RAM disk elsewhere is the system's or a sandbox's, and forgets its
    // files at the next start.
    if (fsType == QStringLiteral("tmpfs") || fsType == QStringLiteral("ramfs"))
        return false;
    if (unter(mountPoint, QStringLiteral("/home")) || unter(mountPoint, QStringLiteral("/media")) ||
        unter(mountPoint, QStringLiteral("/mnt")) ||
        (!user.isEmpty() && unter(mountPoint, QStringLiteral("/run/media/") + user)))
        return true;
    for (const QString& ort : system) {
        if (unter(mountPoint, ort))
            return false;
    }
    const bool blockgeraet = device.startsWith(QStringLiteral("/dev/")) &&
                             !device.startsWith(QStringLiteral("/dev/loop"));
    return blockgeraet || fsType == QStringLiteral("zfs") || netz.contains(fsType);
}

FolderChooser::FolderChooser(QWidget* parent)
    : QWidget(parent) {
    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("Drive1"));
    QStringList wurzeln;
    const QString benutzer = benutzerName();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !wurzeln.contains(volume.rootPath()) &&
            listsVolume(volume.rootPath(), QString::fromLatin1(volume.fileSystemType()),
                        QString::fromLocal8Bit(volume.device()), benutzer, QDir::homePath()))
            wurzeln << volume.rootPath();
    }
    if (!wurzeln.contains(QDir::rootPath()))
        wurzeln << QDir::rootPath();
    std::sort(wurzeln.begin(), wurzeln.end());
    for (const QString& wurzel : wurzeln) {
        const QString name = QStorageInfo(wurzel).displayName();
        const QString text = QDir::toNativeSeparators(wurzel);
        drives_->addItem(
            name.isEmpty() || name == wurzel ? text : text + QStringLiteral("  [") + name + u']',
            wurzel);
    }

    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("Pfad"));
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("Dir1"));
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->header()->hide();
    tree_->setAccessibleName(QStringLiteral("Ordnerliste"));
    tree_->setMinimumSize(300, 200);

    driveLabel_ = new QLabel(QStringLiteral("&Laufwerk"), this);
    driveLabel_->setBuddy(drives_);
    pathLabel_ = new QLabel(QStringLiteral("&Ordner"), this);
    pathLabel_->setBuddy(path_);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(driveLabel_, 0, 0);
    layout->addWidget(drives_, 0, 1);
    layout->addWidget(pathLabel_, 1, 0);
    layout->addWidget(path_, 1, 1);
    layout->addWidget(tree_, 2, 0, 1, 2);
    setTabOrder(drives_, path_);
    setTabOrder(path_, tree_);

    connect(drives_, &QComboBox::activated, this, &FolderChooser::driveChosen);
    // The tree reads and sorts folders in the background, moving the rows:
    // the opened folder is kept in view until the user scrolls himself.
    const auto spaeter = [this] { QTimer::singleShot(0, this, &FolderChooser::follow); };
    connect(model_, &QFileSystemModel::layoutChanged, this, spaeter);
    connect(model_, &QFileSystemModel::rowsInserted, this, spaeter);
    connect(model_, &QFileSystemModel::directoryLoaded, this, spaeter);
    for (QScrollBar* leiste : {tree_->verticalScrollBar(), tree_->horizontalScrollBar()})
        connect(leiste, &QScrollBar::actionTriggered, this, [this] { following_ = false; });
    connect(path_, &QLineEdit::returnPressed, this, [this] {
        const QString typed = path_->text().trimmed();
        if (!check(typed, PfadNichtGefunden)) {
            path_->setText(QDir::toNativeSeparators(folder_));
            return;
        }
        openFolder(typed);
    });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!selecting_ && current.isValid()) {
                    openFolder(model_->filePath(current));
                    // Chosen in the tree: it is in view where the user put it.
                    following_ = false;
                }
            });
}

void FolderChooser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A folder opened while the chooser was hidden is shown once it is laid out.
    QTimer::singleShot(0, this, &FolderChooser::follow);
}

void FolderChooser::follow() {
    if (!following_ || folder_.isEmpty() || !tree_->isVisible())
        return;
    const QModelIndex index = model_->index(folder_);
    if (!tree_->viewport()->rect().contains(tree_->visualRect(index)))
        tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

bool FolderChooser::check(const QString& path, int numberIfMissing) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isDir()) {
        emit error(numberIfMissing, numberIfMissing == GeraetNichtVerfuegbar
                                        ? QStringLiteral("Gerät nicht verfügbar")
                                        : QStringLiteral("Pfad nicht gefunden"));
        return false;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        emit error(ZugriffVerweigert, QStringLiteral("Zugriff verweigert"));
        return false;
    }
    return true;
}

bool FolderChooser::openFolder(const QString& path) {
    if (!check(path, PfadNichtGefunden))
        return false;
    folder_ = QFileInfo(path).canonicalFilePath();
    path_->setText(QDir::toNativeSeparators(folder_));
    selectDriveOf(folder_);
    selecting_ = true;
    const QModelIndex index = model_->index(folder_);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    selecting_ = false;
    following_ = true;
    emit folderOpened(folder_);
    return true;
}

void FolderChooser::selectDriveOf(const QString& path) {
    // The deepest listed volume that holds the folder.
    int best = -1;
    qsizetype length = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        const bool holds = root == QDir::rootPath() || path == root ||
                           path.startsWith(root.endsWith(u'/') ? root : root + u'/');
        if (holds && root.size() > length) {
            best = i;
            length = root.size();
        }
    }
    if (best >= 0) {
        drives_->setCurrentIndex(best);
        driveIndex_ = best;
    }
}

void FolderChooser::driveChosen(int index) {
    const QString root = drives_->itemData(index).toString();
    if (!check(root, GeraetNichtVerfuegbar)) {
        // The folder chooser stays where it was.
        drives_->setCurrentIndex(driveIndex_);
        return;
    }
    openFolder(root);
}
