#pragma once

// Installs the SIGINT handler: it reports the interrupt on the error stream
// and ends the process at once with status 2; while recording, once the
// recording has ended (recordFile::endSoon).
void installSignal();
