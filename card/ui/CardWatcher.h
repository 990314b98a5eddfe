#pragma once
// Tells the Card window when its card changes outside it: a loop folder added, removed or
// renamed, or a file added to, removed from or renamed in a loop folder (by the file manager,
// another program, a card pulled out). Copying a loop changes the card many times over, so the
// watcher waits until the card has been quiet for a moment and then tells once.
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace brenvik {

class CardWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 300;

    explicit CardWatcher(QObject* parent = nullptr);

    // From now on the card folder and these loop folders are watched, and nothing else.
    void watch(const std::string& card, const std::vector<std::string>& loopFolders);

    struct FolderIdentity {
        dev_t device;
        ino_t inode;
        time_t changedSeconds;
        long changedNanoseconds;
        bool operator==(const FolderIdentity&) const = default;
    };

signals:
    void changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    std::map<std::string, FolderIdentity> m_watched;  // as each was when it was put on
};

}  // namespace brenvik
