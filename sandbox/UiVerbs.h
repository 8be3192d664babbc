#pragma once
// The sandbox verbs that act on the plug-in's window as a player would: read
// what it shows, click, hover, type, press keys, scroll, wait, read or fill
// its clipboard, and save a screenshot. They drive the window through the sandbox's UI driver, so each
// frame they draw also advances the game one tick. A sandbox that shows a
// display of its own (a frame drawer) replaces key, mouse and screenshot
// with its own; the others then refuse, saying why.

#include <ostream>

class Sandbox;

void addUiVerbs(Sandbox& sandbox, std::ostream& out);
