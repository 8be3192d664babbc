#pragma once
// Sandbox verbs that act on the plug-in as a whole.

class Sandbox;

// "reload": unloads the plug-in and loads it again, as a restart of the game
// does. The host saves its configuration first and keeps it: the console
// variables' values reach the fresh plug-in's switches as saved values do at
// a start, and the saved key binds are bound again; the match goes on.
void addPluginVerbs(Sandbox& sandbox);
