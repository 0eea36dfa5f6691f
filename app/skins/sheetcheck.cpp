#include "skins/sheetcheck.h"

#include <QWidget>

namespace ovelo {

namespace {

// What the outline of a sheet shows: how many rules it has, and whether it is well formed.
struct Outline {
    int rules = 0;
    bool wellFormed = true;
};

// The index just past the comment or quoted text that starts at `i`, or -1 when it never ends.
qsizetype SkipOpaque(const QString& s, qsizetype i) {
    if (s[i] == QLatin1Char('/')) {
        const qsizetype end = s.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? -1 : end + 2;
    }
    const QChar quote = s[i];
    for (qsizetype j = i + 1; j < s.size(); ++j) {
        if (s[j] == QLatin1Char('\\'))
            ++j;
        else if (s[j] == quote)
            return j + 1;
    }
    return -1;
}

bool StartsOpaque(const QString& s, qsizetype i) {
    const QChar c = s[i];
    return c == QLatin1Char('"') || c == QLatin1Char('\'') ||
           (c == QLatin1Char('/') && i + 1 < s.size() && s[i + 1] == QLatin1Char('*'));
}

Outline OutlineOf(const QString& s) {
    Outline outline;
    bool inRule = false;
    bool selectorSeen = false;
    for (qsizetype i = 0; i < s.size();) {
        if (StartsOpaque(s, i)) {
            const bool isComment = s[i] == QLatin1Char('/');
            i = SkipOpaque(s, i);
            if (i < 0)
                return {outline.rules, false};
            selectorSeen = selectorSeen || (!isComment && !inRule);
            continue;
        }
        const QChar c = s[i++];
        if (c == QLatin1Char('{')) {
            // Qt's sheets do not nest, and a block needs something to apply to.
            if (inRule || !selectorSeen)
                return {outline.rules, false};
            inRule = true;
        } else if (c == QLatin1Char('}')) {
            if (!inRule)
                return {outline.rules, false};
            inRule = false;
            selectorSeen = false;
            ++outline.rules;
        } else if (!inRule && !c.isSpace()) {
            selectorSeen = true;
        }
    }
    // Text after the last rule is a selector without a block.
    outline.wellFormed = !inRule && !selectorSeen;
    return outline;
}

// Set while a probe is being polished: Qt's parser reports its refusal only as a warning.
thread_local bool* gRefused = nullptr;
QtMessageHandler gPreviousHandler = nullptr;

void CatchRefusal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (gRefused && message.startsWith(QLatin1String("Could not parse"))) {
        *gRefused = true;
        return;
    }
    if (gPreviousHandler)
        gPreviousHandler(type, context, message);
}

bool QtAccepts(const QString& sheet) {
    bool refused = false;
    gRefused = &refused;
    gPreviousHandler = qInstallMessageHandler(CatchRefusal);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(gPreviousHandler);
    gRefused = nullptr;
    return !refused;
}

} // namespace

SheetVerdict CheckStyleSheet(const QString& sheet) {
    const Outline outline = OutlineOf(sheet);
    if (!outline.wellFormed)
        return SheetVerdict::Broken;
    if (outline.rules == 0)
        return SheetVerdict::Empty;
    return QtAccepts(sheet) ? SheetVerdict::StyleSheet : SheetVerdict::Broken;
}

} // namespace ovelo
