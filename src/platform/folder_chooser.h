#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QTreeView;

// A drive list (the mounted volumes), a box in which a folder can be typed
// (Enter opens it) and a tree of folders that follows it. The opened folder
// is the one the dialog uses.
class FolderChooser : public QWidget {
    Q_OBJECT
public:
    explicit FolderChooser(QWidget* parent = nullptr);

    // Opens `path`; false (and error()) when it is no folder that can be read.
    bool openFolder(const QString& path);
    QString folder() const { return folder_; }

    QComboBox* drives() const { return drives_; }
    QLineEdit* pathBox() const { return path_; }
    QTreeView* tree() const { return tree_; }

    // Whether the drive list shows a mounted volume: one a user keeps files
    // on (the root and home file systems, /media, /mnt, /run/media/<user>,
    // real block devices, network shares), not the system's pseudo file
    // systems, its own places, snaps, container layers or RAM disks.
    static bool listsVolume(const QString& mountPoint, const QString& fsType, const QString& device,
                            const QString& user, const QString& home);

    // The classic error numbers of a failed drive or folder change.
    enum Fehler { PfadNichtGefunden = 76, GeraetNichtVerfuegbar = 68, ZugriffVerweigert = 70 };

protected:
    void showEvent(QShowEvent* event) override;

signals:
    void folderOpened(const QString& folder);
    void error(int number, const QString& description);

private:
    void driveChosen(int index);
    void follow();
    void selectDriveOf(const QString& path);
    bool check(const QString& path, int numberIfMissing);

    QComboBox* drives_;
    QLineEdit* path_;
    QTreeView* tree_;
    QFileSystemModel* model_;
    QLabel* driveLabel_;
    QLabel* pathLabel_;
    QString folder_;
    int driveIndex_ = -1;
    bool selecting_ = false;
    // The tree keeps the opened folder in view while it is being read.
    bool following_ = false;
};
