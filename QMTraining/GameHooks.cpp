// The plug-in's hooks in the game's events, all in one place: what runs at
// each game tick of a local match, at a goal and when the match ends.

#include "QMTraining/Guard.h"
#include "QMTraining/QMTraining.h"
#include "pluginsdk/GameEvents.h"

void QMTraining::hookGameEvents() {
  gameWrapper->HookEvent(gameevents::tick, guarded("The game tick", [this](std::string) { onGameTick(); }));
  gameWrapper->HookEvent(gameevents::goalScored, guarded("The goal", [this](std::string) { onGoalScored(); }));
  gameWrapper->HookEvent(gameevents::matchEnded, guarded("The match's end", [this](std::string) { onMatchEnded(); }));
}

void QMTraining::unhookGameEvents() {
  gameWrapper->UnhookEvent(gameevents::tick);
  gameWrapper->UnhookEvent(gameevents::goalScored);
  gameWrapper->UnhookEvent(gameevents::matchEnded);
}

void QMTraining::onGameTick() { recordMoment(); }

// Nothing of an ended match can become a shot, and its open attempt is a
// miss.
void QMTraining::onMatchEnded() {
  moments.clear();
  endAttempt(false, false);
}
