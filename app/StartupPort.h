// The port opened at start-up: the one stored by the last run opens without asking; COMM Setup
// is shown when no port is stored (a first start) or the stored one does not open.
#pragma once

class CComIF;

// Whether the settings the facade loaded name a port of their own: a grabber port found by its
// stored identity, or an RS-232C device stored with its port kind.
bool StoredPortChosen(CComIF& comIF);

// Runs after the facade's settings are loaded.
void OpenPortAtStartUp(CComIF& comIF);
