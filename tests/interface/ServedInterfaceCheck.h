#pragma once
// Reduces an introspection document to the ordered members of one interface, one line per
// member ("property aSweepON n readwrite", "method Start", "method aReadADC(out n)",
// "signal aErrore(n s)"), so a served object can be compared with its interface XML.
#include <QStringList>
#include <QXmlStreamReader>

inline QStringList interfaceMembers(const QString& xml, const QString& interface) {
    QStringList out;
    QXmlStreamReader r(xml);
    bool inside = false;
    QString member;
    QStringList args;
    auto flush = [&] {
        if (!member.isEmpty())
            out << (args.isEmpty() ? member : member + QLatin1Char('(') + args.join(' ') + ')');
        member.clear();
        args.clear();
    };
    while (!r.atEnd()) {
        r.readNext();
        const auto name = r.name();
        const auto attr = r.attributes();
        if (r.isStartElement()) {
            if (name == QLatin1String("interface"))
                inside = attr.value(QLatin1String("name")) == interface;
            if (!inside)
                continue;
            if (name == QLatin1String("property")) {
                flush();
                out << QStringLiteral("property %1 %2 %3")
                           .arg(attr.value(QLatin1String("name")),
                                attr.value(QLatin1String("type")),
                                attr.value(QLatin1String("access")));
            } else if (name == QLatin1String("method") || name == QLatin1String("signal")) {
                flush();
                member = name.toString() + QLatin1Char(0x20) +
                         attr.value(QLatin1String("name")).toString();
            } else if (name == QLatin1String("arg")) {
                const auto dir = attr.value(QLatin1String("direction"));
                args << ((dir.isEmpty() || member.startsWith(QLatin1String("signal"))
                              ? QString()
                              : dir.toString() + QLatin1Char(' ')) +
                         attr.value(QLatin1String("type")).toString());
            }
        } else if (r.isEndElement() && inside && name == QLatin1String("interface")) {
            flush();
            inside = false;
        }
    }
    return out;
}
