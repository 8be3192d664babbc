#pragma once
// The plug-in object. One class holds all behaviour; its methods live in the
// folder of their subsystem:
//   QMTraining/  entry points, load and unload, registration, logging
//   playback/    placement commands and the reset cycle
//   storage/     shot files, training packs, pack loading, migration
//   binds/       the key-bind file
//   ui/          the settings window
//
// Threads: commands, value-changed callbacks and timeouts run on the host's
// game thread; Render and the other window slots run in the host's drawing
// callback. Nothing is locked: the host runs both on one thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "QMTraining/ConsoleVariables.h"
#include "binds/KeyNames.h"
#include "pluginsdk/CVarManagerWrapper.h"
#include "pluginsdk/GameWrapper.h"
#include "playback/MomentCapture.h"
#include "playback/MomentRing.h"
#include "playback/RandomDraws.h"
#include "playback/ShotPicker.h"
#include "pluginsdk/Plugin.h"
#include "storage/PackText.h"
#include "storage/PackTransfer.h"
#include "storage/Shot.h"
#include "storage/ShotResults.h"
#include "storage/Trash.h"

struct WindowState;

class QMTraining : public BakkesMod::Plugin::BakkesModPlugin,
                   public BakkesMod::Plugin::PluginWindow {
 public:
  QMTraining();
  ~QMTraining() override;

  // ---- load and unload (QMTraining/) ----
  void onLoad() override;
  void onUnload() override;

  // ---- placement commands (playback/) ----
  void moveBall();
  void moveCar();
  void launchBall();
  void applyBallSpeed();

  // ---- reset cycle (playback/) ----
  void controlInput();
  void pickNextShot();
  void loadSelectedShot();
  void overrideShot();

  // ---- game events (QMTraining/GameHooks.cpp) ----
  // Every hook the plug-in has in the game, registered at load and dropped
  // at unload in one place; each event has one handler here (the goal's in
  // playback/Attempts.cpp).
  void hookGameEvents();
  void unhookGameEvents();
  void onGameTick();
  void onGoalScored();
  void onMatchEnded();

  // ---- capturing shots from the game (playback/) ----
  // Keeps the tick's moment in `moments`: only in a local match, with no
  // allocation and no file access.
  void recordMoment();
  // Why no shot can be captured now (online, no local match, nothing
  // recorded), or null when one can.
  const char* captureUnavailable();
  // Writes a captured shot as the new shot `name` of the pack at
  // `packIndex` and reloads the pack's shots; says why when it cannot.
  Status saveCapturedShot(int32_t packIndex, const CapturedShot& shot, const std::string& name);
  // "Captured N" with the smallest N no shot of the loaded pack is named.
  std::string nextCapturedName() const;
  // "CaptureShot [SECONDS_AGO] [NAME]": logs the saved shot's name or why
  // there is none, in one line.
  void captureShotCommand(const std::vector<std::string>& arguments);

  // ---- training packs (storage/) ----
  void loadTrainingPacks();
  std::vector<std::string> listPackShotNames(int32_t packIndex);
  void createTrainingPack(std::string name);
  // Makes the pack `newName` holding every shot of the source, or nothing:
  // the value is the new folder, or why there is none (also on the console).
  Outcome<std::string> copyTrainingPack(int32_t sourceIndex, std::string newName);
  void renameTrainingPack(int32_t packIndex, std::string newName);
  // Moves the pack into the trash (storage/Trash.h), then goes on as a
  // removal did; refuses, changing nothing, when the trash cannot take it.
  // The value is the trash entry, or why there is none (also on the console).
  Outcome<TrashEntry> deleteTrainingPack(int32_t packIndex);
  // Puts `name` at its place in the sorted pack list (removing the entry at
  // `replacing` first, for a rename; -1 for none) and returns its index. The
  // current pack ("TrainingPackNum") stays the same pack by name, or follows
  // the renamed entry.
  int32_t placeInPackList(std::string name, int32_t replacing = -1);
  // The host's data folder as narrow text with "/" separators.
  std::string dataFolderPath();

  // ---- pack loading (storage/) ----
  void loadTrainingPack(int32_t packIndex);
  void repairLoadedShot(Shot& shot);
  Status addShotToPack(int32_t packIndex, float ballLocationZ, float ballLocationX,
                       float ballLocationY, float ballVelocityX, float ballVelocityY,
                       float ballVelocityZ, float carLocationX, float carLocationY,
                       float carLocationZ, int32_t carYaw, std::string name, int32_t carPitch,
                       int32_t carRoll);
  Status copyShotToPack(int32_t sourcePackIndex, int32_t targetPackIndex, int32_t shotIndex,
                        std::string newName);

  // ---- sharing packs as one text (storage/) ----
  // The pack text of the named pack, read from its folder as a load reads it.
  Outcome<PackExport> exportTrainingPack(const std::string& packName);
  // Writes a pack text to QMShots/Exports/NAME.qmpack; the value is the path.
  Outcome<std::string> saveExportedPack(const std::string& packName, std::string_view text);
  // Makes the decoded pack a new pack named `name` (never into or over one
  // that exists, nor beside a listed pack of the same cleaned name), puts it
  // into the sorted list, loads it and makes it the current
  // pack, as creating a pack does. The value is the new pack's folder.
  Outcome<std::string> importTrainingPack(const DecodedPack& pack, const std::string& name);
  // "ExportPack NAME" and "ImportPack PATH": each logs one line saying what
  // it did or why it did nothing.
  void exportPackCommand(const std::vector<std::string>& arguments);
  void importPackCommand(const std::vector<std::string>& arguments);

  // ---- attempts of shots (playback/Attempts.cpp) ----
  // The press that placed shots[shotIndex] (counted in latestPress) starts
  // its attempt; it times out "stats_attempt_seconds" of game time after the
  // launch.
  void startAttempt(size_t shotIndex, float secondsToLaunch);
  // The open attempt ends, made or missed (nothing when none is open). An
  // attempt that ended by itself (a goal or its time) may place the next
  // shot after "training_auto_next" seconds.
  void endAttempt(bool made, bool byItself);
  // "ShotStats" and "ResetShotStats".
  void shotStatsCommand();
  void resetShotStatsCommand();

  // ---- results of the loaded pack (storage/ResultsStore.cpp) ----
  // Makes the results of the pack in `folder` (ending with "/") the loaded
  // ones, writing those of another pack first. A results file that cannot be
  // read never stops the load: it is set aside and said so in one line.
  void useResultsOf(const std::string& folder);
  // Writes the loaded results when they changed; once a second of game time
  // at most through scheduleResultsFlush, and at unload and pack switch.
  void flushResults();
  void scheduleResultsFlush();
  // The results of shots[shotIndex]; null when it has none.
  const ShotResult* resultOf(size_t shotIndex) const;
  // Follows a shot file renamed from `from` to `to` (file names, no folder).
  void shotFileRenamed(const std::string& from, const std::string& to);
  // Renames shots[shotIndex], or moves it into the trash (deleteShot), its
  // results with it (a deleted shot's results are dropped).
  Status renameShotAt(int32_t shotIndex, std::string newName);
  Outcome<TrashEntry> deleteShotAt(int32_t shotIndex);
  // The results of the shot file `fromFile` of the loaded pack go to
  // `toFile` of `targetFolder`'s results file, read afresh and written at
  // once; they stay where they are when that file cannot be read or written.
  Status moveShotResults(const std::string& fromFile, const std::string& targetFolder, const std::string& toFile);
  // Forgets every attempt of the loaded pack (the training marks stay) and
  // writes that at once.
  Status resetPackResults();
  // The Focus-on-misses weight of every loaded shot from the loaded
  // results, and with `restoreMarks` and "remember_training" on, the ticked
  // shots: once per load (playback/Attempts.cpp).
  void applyLoadedResults(bool restoreMarks);

  // ---- the trash (storage/) ----
  // Moves the shot's file into the trash (its pack is reloaded by the
  // caller); refuses, leaving the file, when the trash cannot take it.
  Outcome<TrashEntry> deleteShot(const Shot& shot);
  // Copies the bytes the shot's file holds now into the trash, for a caller
  // about to overwrite it; it must not overwrite when this fails. No entry
  // when nothing is at the file's path: nothing is lost then.
  Outcome<std::optional<TrashEntry>> keepBeforeOverwrite(const Shot& shot);
  Outcome<std::vector<TrashEntry>> listTrashEntries();
  // Puts the entry back (under a free name when its own is taken), rescans
  // the pack list and reloads the current pack. The value says what came
  // back, as a console line.
  Outcome<std::string> restoreFromTrash(const TrashEntry& entry);
  Outcome<size_t> emptyTrashEntries();
  // "RestoreLast": restores the newest entry and logs one line.
  void restoreLast();
  // Removes the entries past the trash's limits, saying how many went when
  // any did. At start-up.
  void pruneTrashAtStart();
  // Counts the storage actions (pack list rescans and loads, packs placed in
  // the list, restores): an offer to undo one lasts until the next.
  uint64_t storageActions = 0;

  // ---- start-up data work (storage/) ----
  void migrateOldData();
  void moveOldShotsToPack();
  // Removes what interrupted imports and writes left in the packs folder,
  // the exports folder and beside the key-bind file (storage/Leftovers.h),
  // saying so in one console line when it found any. At start-up and before
  // an import or a pack copy.
  void cleanLeftovers();

  // ---- key binds (binds/) ----
  // The key-bind file's path, UTF-8 with "/" separators.
  std::string keyBindFilePath();
  void loadKeyBinds();
  void saveKeyBinds();
  std::string unbindCommand(const std::string& keyName);

  // ---- settings window (ui/) ----
  void Render() override;
  std::string MenuName() override;
  std::string WindowTitle() override;
  void AdoptGuiContext(uintptr_t ctx) override;
  bool WantsInput() override;
  bool IsOverlayWindow() override;
  void WindowOpened() override;
  void WindowClosed() override;
  // One per tab, drawn by Render while its tab is the selected one (ui/).
  void renderHowToUseTab();
  void renderTrainingPacksTab();
  void renderShotsTab();
  void renderTrainingTab();
  void renderTrainingSettingsTab();
  void renderSettingsTab();
  void renderChangeLogsTab();
  // The shot editor's tabs, drawn inside the "Create Shot" tab bar while
  // editorOpen.
  void renderShotEditorTabs();
  // Opening the editor switches pluginEnabled on and carResetEnabled off
  // directly, for its try-out buttons, and holds "speed_enabled" at 2; once
  // it closes by any button (or its lag warning is cancelled) both switches
  // follow "quellmark_enabled" and "car_enabled" again and "speed_enabled"
  // gets back the value it had before, so every press plays at its shot's
  // own speed again if it did before.
  void restoreAfterEditor();
  // The editor's speed command takes the speed it edits ("speed_enabled" 2)
  // until it closes; the mode found at the opening is kept for then. False
  // when the variable is missing.
  bool holdEditorSpeed();
  // The shot preview of the working shot (shotIndex -1) or of
  // shots[shotIndex] (the field alone when there is no such shot), in a
  // panel of width x height pixels at the cursor.
  void renderShotPreview(int32_t shotIndex, float width, float height);

  // ---- working shot: the one shot the placement commands apply ----
  float ballLocationZ = 0;
  float ballLocationX = 0;
  float ballLocationY = 0;
  float ballVelocityX = 0;
  float ballVelocityY = 0;
  float ballVelocityZ = 0;
  float carLocationX = 0;
  float carLocationY = 0;
  float carLocationZ = 0;
  int32_t carYaw = 0;
  int32_t carPitch = 0;
  int32_t carRoll = 0;
  int32_t ballSpeed = editorrange::minBallSpeed;
  std::string currentShotName;

  // ---- reset cycle ----
  bool maxScoreFixEnabled = true;
  int32_t savedMaxScore = 0;  // the game's own limit; 0 = none saved yet
  bool modifiersActive = false;
  bool mirrorShots = false;
  bool mirrorCar = false;
  bool splitShot = false;
  bool splitCar = false;
  bool makeCeiling = false;
  bool randomizeSpawns = false;

  // ---- the last seconds of the local match, tick by tick ----
  MomentRing moments;

  // ---- where the reset cycle's random draws come from; tests replace it ----
  DrawNumber drawNumber = randomDeviceDraws();

  // ---- the clock the trash dates its entries by, in seconds since 1970
  // UTC; tests replace it ----
  std::function<int64_t()> clockSeconds = systemSecondsNow;

  // ---- packs and key binds ----
  std::vector<std::string> trainingPacks;
  // The last rescan failed part-way (other than for a missing packs
  // folder): an empty list then says nothing, and no pack is made up.
  bool packListIncomplete = false;
  int32_t controllerKeyIndex = defaultControllerKeyIndex;
  int32_t keyboardKeyIndex = defaultKeyboardKeyIndex;
  // The engine's key tables, shared by every instance (binds/KeyNames.h).
  const std::vector<std::string>& controllerKeyNames = controllerKeyTable();
  const std::vector<std::string>& keyboardKeyNames = keyboardKeyTable();

  // ---- training ----
  bool trainingActive = false;
  std::vector<bool> shotSelections;  // one flag per entry of `shots`
  bool pluginEnabled = false;        // mirrors "quellmark_enabled"
  bool carResetEnabled = false;      // mirrors "car_enabled"
  bool noShotSelected = false;
  // Which selected shot a training press plays next ("training_order").
  ShotPicker shotPicker;
  std::vector<Shot> shots;  // the loaded pack, in display order
  int32_t oldDataMigrated = 0;
  std::string menuTitle = "Quellmark Training";

  // ---- attempts and results ----
  PackResults packResults;     // the loaded pack's, by shot file name
  std::string resultsFolder;   // the folder they belong to; "" for none
  bool resultsChanged = false;
  bool resultsFlushPending = false;
  // False while an unreadable results file could not be set aside: it is
  // never written over.
  bool resultsWritable = false;
  bool resultsWriteFailed = false;  // said once until a write succeeds
  struct OpenAttempt {
    std::string shotFile;
    size_t shotIndex = 0;
    uint64_t press = 0;
  };
  std::optional<OpenAttempt> openAttempt;
  // A pending automatic press holds the value this had when it was asked
  // for; any press moves it on.
  uint64_t autoNextRequest = 0;
  // Since the plug-in loaded.
  uint32_t sessionAttempts = 0;
  uint32_t sessionMakes = 0;

  // ---- what the settings window keeps between frames (ui/WindowState.h) ----
  std::unique_ptr<WindowState> windowState;

  // ---- settings window ----
  bool isWindowOpen = false;
  bool editorOpen = false;
  bool useTextboxes = false;
  char shotNameInput[128] = {};
  bool editingShot = false;
  int32_t editShotIndex = -1;
  int32_t transferTargetPack = 0;
  bool allShotsSelected = false;
  static constexpr int32_t shotRowBase = 100;

 private:
  // loadTrainingPack for a pack of the list: its shots read into `shots`.
  void loadPackShots(int32_t packIndex);
  // moveBall and launchBall with a given location or velocity: a press with
  // variance places and launches a ball that differs from the working shot.
  void placeBallAt(Vector location);
  void launchBallWith(Vector velocity);
  // Counts the presses that placed a ball; a pending launch belongs to the
  // press whose count it holds.
  uint64_t latestPress = 0;
  // The shot last said to play without variance (its varied flight was not
  // finite).
  std::optional<std::string> unvariedShotReported;

  void registerNotifiers();
  void renderWindow();
  // The start-up data work, once: the first frame of the window or the
  // first command, whichever comes first, runs it, so that a key pressed
  // before the window was ever opened plays the loaded pack's shot.
  void runStartUpWork();
  void registerCvars();
};

// The process-wide owner of the plug-in object.
extern std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin> pluginSingleton;
