#include "ArrangeActions.h"

#include <QTemporaryDir>
#include <QWidget>
#include <exception>
#include <memory>

#include "ArrangementRequests.h"
#include "ArrangementUndo.h"
#include "BackupStore.h"
#include "CardFolder.h"
#include "CardNames.h"
#include "DropDialog.h"
#include "DroppedWaves.h"
#include "Files.h"
#include "Interaction.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "Preferences.h"
#include "QtFocusReturn.h"
#include "Restore.h"
#include "RoutineError.h"
#include "UserLibrary.h"

namespace brenvik {

namespace {

std::string folderOf(const std::string& card, int number) { return card + "/" + loop::loopFolderName(number); }

// Whether the card holds loop `number` in any letter case; a card that cannot be read is left for
// the restore to say why.
bool holdsLoop(const Files& files, const std::string& card, int number) {
    try {
        return !card::loopFoldersNamed(files, card, number).empty();
    } catch (const std::exception&) {
        return false;
    }
}

// The names of the card's loops, for the undo texts.
card::LoopNamer namesOn(const Files& files, const std::string& card) {
    return library::loopNamer(library::userLibrary(files), card);
}

}  // namespace

ArrangeActions::ArrangeActions(Files& files, Interaction& ui, const Preferences& preferences, QWidget* window,
                               std::function<void(const std::string& note)> showStatus)
    : m_files(files), m_ui(ui), m_preferences(preferences), m_window(window), m_showStatus(std::move(showStatus)) {}

void ArrangeActions::noteRecovered(const std::vector<std::string>& lines) {
    std::string note;
    for (const std::string& line : lines)
        if (!line.empty()) note += (note.empty() ? "" : "; ") + line;
    if (!note.empty() && m_showStatus) m_showStatus(note);
}

bool ArrangeActions::mayReplace(const std::string& question) {
    return m_ui.message(question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool ArrangeActions::dropLoop(const std::string& card, const std::string& fromCard, int from, int to, bool toFree,
                              bool copy) {
    if (!copy && (fromCard != card || from == to)) return false;
    if (copy) {
        if (!toFree && !mayReplace(message::copyReplaces(folderOf(card, to)))) return false;
        card::ArrangeRequest request = card::copyRequest(fromCard, from, card, to, namesOn(m_files, fromCard));
        request.overwrite = !toFree;
        return run(request);
    }
    if (toFree) return run(card::moveRequest(card, from, to, {}, namesOn(m_files, card)));
    return mayReplace(message::swapQuestion(from, to)) && run(card::swapRequest(card, from, to, namesOn(m_files, card)));
}

void ArrangeActions::deleteLoops(const std::string& card, const std::vector<int>& numbers) {
    if (numbers.empty()) {
        m_ui.message(message::kNoLoopsSelected);
        return;
    }
    std::string names;
    for (const int number : numbers) names += (names.empty() ? "" : ", ") + loop::loopFolderName(number);
    if (mayReplace(message::deleteQuestion(names))) run(card::deleteRequest(card, numbers, namesOn(m_files, card)));
}

void ArrangeActions::toCard(const std::string& card, const std::vector<int>& numbers, const std::string& toCard,
                            bool copy) {
    card::ArrangeRequest request{copy ? "copy" : "move", {}};
    const card::LoopNamer namer = namesOn(m_files, card);
    for (const int number : numbers) {
        const std::string target = folderOf(toCard, number);
        const bool taken = m_files.entryExists(target);
        if (taken && !mayReplace(copy ? message::copyReplaces(target) : message::moveReplaces(target))) continue;
        request.overwrite = request.overwrite || taken;
        request.placements.push_back({{card, number}, card::LoopPlace{toCard, number}, copy, {}});
        if (!copy) request.what += " " + card::namedLoop(number, namer) + " to " + toCard;
    }
    request.undoable = !copy;
    if (!request.placements.empty()) run(request);
}

void ArrangeActions::undo(const std::string& card) {
    if (!card::arrangementToUndo(card, m_files)) {
        m_ui.message(message::nothingToUndo(card));
        return;
    }
    report([&](backup::BackupStore& store) {
        return card::undoArrangement(card, false, store, m_files, m_ui.progress());
    });
}

void ArrangeActions::redo(const std::string& card) {
    if (!card::arrangementToRedo(card, m_files)) {
        m_ui.message(message::nothingToRedo(card));
        return;
    }
    report([&](backup::BackupStore& store) {
        return card::redoArrangement(card, false, store, m_files, m_ui.progress());
    });
}

namespace {

// The window takes no input, shows the busy pointer and gets its focus back, while `work` runs.
void whileBusy(QWidget* window, Interaction& ui, const std::function<void()>& work) {
    const FocusReturn focusReturn(window);
    const BusyPointer busy(ui);
    window->setEnabled(false);
    work();
    window->setEnabled(true);
}

}  // namespace

// A restore, unlike an arrangement, copies the loop beside its place on the card and swaps it in
// only when whole, so that even a kill leaves the card's loop as it was; it is recorded for undo
// afterwards.
void ArrangeActions::restoreInto(const std::string& card, const std::string& backup, int loopInBackup, int to) {
    const std::string target = folderOf(card, to);
    backup::RestoreRequest request{backup, card, {loopInBackup}, false, to};
    request.readBack = m_preferences.readBack;
    if (holdsLoop(m_files, card, to)) {
        if (!mayReplace(message::restoreReplaces(target))) return;
        request.overwrite = true;
    }
    backup::RestoreResult result;
    whileBusy(m_window, m_ui, [&] {
        try {
            backup::BackupStore store(m_files);
            result = card::restoreUndoably(request, store, m_files);
        } catch (const std::exception&) {
            result.message = message::restoreFailed(target);
            result.reason = caughtReason();
        }
    });
    noteRecovered({result.recovered});
    if (!result.restored) {
        m_ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        return;
    }
    if (!result.notUndoable.empty())
        m_ui.message(message::arrangementNotRecorded(card), MessageButtons::Ok, MessageIcon::None, result.notUndoable);
    m_ui.message(message::loopRestored(target));
}

bool ArrangeActions::run(card::ArrangeRequest request) {
    request.readBack = m_preferences.readBack;
    return report([&](backup::BackupStore& store) { return card::arrange(request, store, m_files, m_ui.progress()); });
}

bool ArrangeActions::report(const std::function<card::ArrangeResult(backup::BackupStore&)>& change) {
    card::ArrangeResult result;
    whileBusy(m_window, m_ui, [&] {
        backup::BackupStore store(m_files);
        result = change(store);
        m_ui.showProgress(0, 0);
    });
    noteRecovered(result.recovered);
    if (!result.message.empty()) m_ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
    return result.done;
}

DropDialog* ArrangeActions::previewDroppedWaves(const std::string& card, const std::vector<std::string>& paths) {
    auto scratch = std::make_shared<QTemporaryDir>();
    auto waves = std::make_shared<std::vector<card::DroppedWave>>(
        card::examineDropped(paths, card, scratch->path().toStdString(), m_files, {}, m_tempoFinder));
    auto* dialog = new DropDialog(*waves, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The files and their conversions last as long as the dialog.
    QObject::connect(dialog, &QObject::destroyed, [waves, scratch] {});
    dialog->show();
    return dialog;
}

// Nothing is written before the musician has seen the drop dialog and said OK; the conversions
// go with the scratch folder either way.
void ArrangeActions::writeDroppedWaves(const std::string& card, const std::vector<std::string>& paths) {
    const QTemporaryDir scratch;
    std::vector<card::DroppedWave> waves;
    whileBusy(m_window, m_ui, [&] {
        waves = card::examineDropped(paths, card, scratch.path().toStdString(), m_files, m_ui.progress(),
                                     m_tempoFinder);
        m_ui.showProgress(0, 0);
    });
    DropDialog dialog(waves, m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<card::DroppedWaveOutcome> outcomes;
    whileBusy(m_window, m_ui, [&] {
        outcomes = card::writeDropped(waves, card, m_files, m_ui.progress(), m_preferences.readBack);
        m_ui.showProgress(0, 0);
    });
    size_t written = 0;
    std::string lines;
    std::vector<std::string> recovered;
    for (const card::DroppedWaveOutcome& outcome : outcomes) {
        recovered.push_back(outcome.recovered);
        const std::string name = loop::lastFolderName(outcome.source);
        written += outcome.loopNumber ? 1 : 0;
        lines += (lines.empty() ? "" : "\n") + name + ": " +
                 (outcome.loopNumber ? loop::loopFolderName(*outcome.loopNumber) : outcome.message) +
                 (outcome.reason.empty() ? "" : " (" + outcome.reason + ")");
    }
    noteRecovered(recovered);
    // The icon tells the worst of it: some files not written is a warning, none written a failure.
    const MessageIcon icon = written == outcomes.size() ? MessageIcon::None
                             : written > 0              ? MessageIcon::Warning
                                                        : MessageIcon::Critical;
    m_ui.message(message::dropSummary(written, outcomes.size()), MessageButtons::Ok, icon, lines);
}

}  // namespace brenvik
