#pragma once

#include "platform/clipboard.h"
#include "platform/help.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/processes.h"

// The platform services the program talks to; tests put doubles in their place.
struct Services {
    MessageBox& messages;
    Clipboard& clipboard;
    Printer& printer;
    Help& help;
    Processes& processes;
};
