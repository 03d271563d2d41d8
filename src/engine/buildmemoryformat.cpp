#include "buildmemoryformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace BuildMemoryFormat {
namespace {
const QLatin1String kFormatField("format");
const QLatin1String kRootField("root");
const QLatin1String kStepsField("steps");
const QLatin1String kKeyField("key");
const QLatin1String kInputsField("inputs");
const QLatin1String kOutputsField("outputs");

// fromHex skips what is not a digit, so a damaged hash would pass as a shorter one.
std::optional<QByteArray> hash(const QJsonValue &value) {
    const QString text = value.toString();
    if (text.isEmpty() || text.size() % 2 != 0)
        return std::nullopt;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

std::optional<RememberedStep> step(const QJsonValue &value) {
    const QJsonObject object = value.toObject();
    RememberedStep step;
    step.key = object.value(kKeyField).toString();
    const auto inputs = hash(object.value(kInputsField));
    const QJsonValue outputs = object.value(kOutputsField);
    if (step.key.isEmpty() || !inputs || !outputs.isObject())
        return std::nullopt;
    step.inputs = *inputs;
    const QJsonObject files = outputs.toObject();
    if (files.size() > kMaxOutputs)
        return std::nullopt;
    for (auto it = files.begin(); it != files.end(); ++it) {
        const auto contents = hash(it.value());
        if (!it.key().startsWith(QLatin1Char('/')) || !contents)
            return std::nullopt;
        step.outputs.insert(it.key(), *contents);
    }
    return step;
}
} // namespace

QByteArray encode(const QString &root, const QList<RememberedStep> &steps) {
    QJsonArray list;
    for (const RememberedStep &step : steps) {
        QJsonObject outputs;
        for (auto it = step.outputs.cbegin(); it != step.outputs.cend(); ++it)
            outputs.insert(it.key(), QString::fromLatin1(it.value().toHex()));
        list.append(QJsonObject{{kKeyField, step.key},
                                {kInputsField, QString::fromLatin1(step.inputs.toHex())},
                                {kOutputsField, outputs}});
    }
    const QJsonObject top{{kFormatField, kVersion}, {kRootField, root}, {kStepsField, list}};
    return QJsonDocument(top).toJson(QJsonDocument::Compact);
}

std::optional<QList<RememberedStep>> decode(const QByteArray &text, const QString &root) {
    if (text.size() > kMaxBytes)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject top = document.object();
    const QJsonValue format = top.value(kFormatField);
    if (!format.isDouble() || format.toDouble() != kVersion)
        return std::nullopt;
    if (top.value(kRootField).toString() != root || !top.value(kStepsField).isArray())
        return std::nullopt;
    const QJsonArray list = top.value(kStepsField).toArray();
    if (list.size() > kMaxSteps)
        return std::nullopt;
    QList<RememberedStep> steps;
    QSet<QString> keys;
    for (const QJsonValue &value : list) {
        const auto one = step(value);
        if (!one || keys.contains(one->key))
            return std::nullopt;
        keys.insert(one->key);
        steps.append(*one);
    }
    return steps;
}
} // namespace BuildMemoryFormat
