#pragma once

#include "core/configlist.h"
#include "core/configstore.h"
#include "core/diagnosticlog.h"

#include "recordingalerts.h"

// The configuration plumbing one program run has.
struct ConfigFixture {
    RecordingAlerts alerts;
    orvix::DiagnosticLog log{alerts};
    orvix::ConfigList config;
    orvix::ConfigStore store{config, log, alerts};
};
