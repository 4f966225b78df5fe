#pragma once
// tlvdb tags: price tags from the command line.

#include "export/tlvdbCommand.h"

#include <QByteArray>

#include <cstdio>
#include <functional>

// progress gets the lines saying how far a long run got (standard error).
TlvdbCommand tlvdbTagsCommand(const std::function<void(const QByteArray&)>& progress = [](const QByteArray& text) {
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
});
