// The COMM Setup loop of the window: the setup dialog shown on the facade, its choice applied,
// stored and opened, and the user told when the port chosen cannot be opened.
#pragma once

class CComIF;

// What a cancelled setup dialog does: keep the port as it is (the menu command), or open the
// port of the settings loaded (start-up).
enum class SetupCancel { KeepPort, OpenStoredPort };

// Runs the setup dialog; on OK applies, stores and reopens. Returns 0, or 263 when the (re)open
// failed.
int ShowCommSetup(CComIF& comIF, SetupCancel onCancel = SetupCancel::KeepPort);

// Opens the selected port. Camera Link with no port chosen asks first, again after each OK
// until a port is chosen, the kind is switched or the dialog is cancelled.
int OpenPortAsking(CComIF& comIF);
