// The Undo line and the "Trash" popup. What they show comes from the store's
// results as they are; the trash is listed when the popup opens and after
// each action in it, never in a frame of its own accord.

#include "ui/TrashPopup.h"

#include <fmt/format.h>
#include <imgui.h>

#include "QMTraining/QMTraining.h"
#include "storage/PackText.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::redMessage;

namespace {

std::string entryLine(const TrashEntry& entry) {
  const std::string when = trashTimeText(entry.time);
  const std::string shots = shotCountText(entry.shots);
  switch (entry.kind) {
    case TrashKind::deletedShot:
      return fmt::format("{}  Deleted shot \"{}\" of {}", when, entry.name, entry.pack);
    case TrashKind::replacedShot:
      return fmt::format("{}  Replaced shot \"{}\" of {}", when, entry.name, entry.pack);
    case TrashKind::deletedPack:
      break;
  }
  return fmt::format("{}  Deleted pack \"{}\", {}", when, entry.name, shots);
}

void listEntries(QMTraining& plugin, TrashPopupState& trash) {
  Outcome<std::vector<TrashEntry>> listed = plugin.listTrashEntries();
  trash.entries = std::move(listed.value);
  if (!listed) trash.failure = listed.error;
}

void restoreRow(QMTraining& plugin, TrashPopupState& trash, size_t row) {
  trash.failure.clear();
  Outcome<std::string> restored = plugin.restoreFromTrash(trash.entries[row]);
  trash.result = restored ? restored.value : "";
  trash.failure = restored.error;
  listEntries(plugin, trash);
}

void emptyAll(QMTraining& plugin, TrashPopupState& trash) {
  Outcome<size_t> emptied = plugin.emptyTrashEntries();
  trash.result = emptied ? fmt::format("The trash was emptied ({} removed)", emptied.value) : "";
  trash.failure = emptied.error;
  trash.confirmingEmpty = false;
  listEntries(plugin, trash);
}

void drawEntries(QMTraining& plugin, TrashPopupState& trash) {
  if (trash.entries.empty()) {
    ImGui::TextUnformatted("The trash is empty");
  } else {
    windowparts::beginListRegion("TrashList", 640);
    int32_t chosen = -1;
    windowparts::forRowsInView(trash.entries.size(), [&](int32_t row) {
      ImGui::TextUnformatted(entryLine(trash.entries[static_cast<size_t>(row)]).c_str());
      ImGui::SameLine();
      if (ImGui::SmallButton("Restore")) chosen = row;
    });
    ImGui::EndChild();
    if (chosen >= 0) restoreRow(plugin, trash, static_cast<size_t>(chosen));
    if (ImGui::Button("Empty Trash")) trash.confirmingEmpty = true;
    ImGui::SameLine();
  }
  if (ImGui::Button("Close")) windowparts::closePopup(trash.open);
}

}  // namespace

void offerUndo(QMTraining& plugin, TrashEntry entry, UndoTab tab) {
  UndoOffer& undo = plugin.windowState->undo;
  undo.entry = std::move(entry);
  undo.tab = tab;
  undo.actionsAt = plugin.storageActions;
  undo.failure.clear();
  const uint64_t offer = ++undo.offers;
  // Game time, so that a paused game keeps the offer and tests can advance it.
  plugin.gameWrapper->SetTimeout(
      [&plugin, offer](GameWrapper*) {
        UndoOffer& current = plugin.windowState->undo;
        if (current.offers == offer) current.entry.reset();
      },
      undoSeconds);
}

void drawUndoLine(QMTraining& plugin, UndoTab tab) {
  UndoOffer& undo = plugin.windowState->undo;
  if (!undo.entry) return;
  if (undo.actionsAt != plugin.storageActions) {  // another action came since
    undo.entry.reset();
    return;
  }
  if (undo.tab != tab) return;
  const char* done = undo.entry->kind == TrashKind::replacedShot ? "Replaced" : "Deleted";
  ImGui::Text("%s \"%s\".", done, undo.entry->name.c_str());
  ImGui::SameLine();
  if (ImGui::SmallButton("Undo")) {
    Outcome<std::string> restored = plugin.restoreFromTrash(*undo.entry);
    if (restored) {
      undo.entry.reset();
      return;
    }
    undo.failure = restored.error;
  }
  if (!undo.failure.empty()) redMessage(undo.failure.c_str());
}

void drawTrashButton(QMTraining& plugin) {
  TrashPopupState& trash = plugin.windowState->trash;
  if (ImGui::SmallButton("Trash")) {
    trash = TrashPopupState{};
    trash.open = true;
    listEntries(plugin, trash);
  }
  if (trash.open) ImGui::OpenPopup("Trash");
  if (!windowparts::beginAutoSizedModal("Trash")) return;
  if (!trash.open) {  // a reload of the plug-in forgot it
    ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
    return;
  }
  if (trash.confirmingEmpty) {
    redMessage("Are You Sure You Want To Empty The Trash. This is Permanent");
    if (ImGui::Button("OK")) emptyAll(plugin, trash);
    ImGui::SameLine();
    if (ImGui::Button("Cancel")) trash.confirmingEmpty = false;
  } else {
    drawEntries(plugin, trash);
  }
  if (!trash.result.empty()) ImGui::TextUnformatted(trash.result.c_str());
  if (!trash.failure.empty()) redMessage(trash.failure.c_str());
  ImGui::EndPopup();
}
