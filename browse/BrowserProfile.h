#pragma once

class QWebEngineProfile;

// The one browsing profile every window shares, so cookies and log-ins carry across windows
// and runs.
QWebEngineProfile *browserProfile();
