#pragma once
// tlvdb tags: price tags from the command line.

#include "export/tlvdbTool.h"

TlvdbCommand tlvdbTagsCommand();
