#pragma once
// Sandbox verbs that act on the plug-in as a whole.

#include <ostream>

class Sandbox;

// "reload": unloads the plug-in and loads it again, as a restart of the game
// does. The host keeps its console variables, and their values reach the
// fresh plug-in's switches as saved values do at a start; the match goes on.
void addPluginVerbs(Sandbox& sandbox, std::ostream& out);
