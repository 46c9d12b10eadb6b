// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/model_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <utility>

#include "engine/input_names.h"
#include "files/input_file.h"
#include "files/native_name.h"
#include "files/save_aside.h"

namespace veldorin {
namespace {

const QString kFormatName = QStringLiteral("veldorin-model");

// The names the file gives the choices of the window's lists, in the lists' order.
template <typename Row, std::size_t Count>
constexpr std::array<const char*, Count> FileNames(const std::array<Row, Count>& table,
                                                   const char* Row::*name) {
    std::array<const char*, Count> names{};
    for (std::size_t index = 0; index < Count; ++index) names[index] = table[index].*name;
    return names;
}

constexpr std::array<const char*, 2> kTableModeNames = {"rates", "times"};
constexpr std::array<const char*, 2> kPairFrequencyNames = {"magnitudes", "signed"};
constexpr auto kPlotModeNames = FileNames(kPlotModeTable, &PlotModeRow::fileName);
constexpr auto kArrayParameterNames = FileNames(kArrayParameterTable, &ArrayParameterRow::name);

template <typename Choice, std::size_t Count>
QString NameOf(Choice choice, const std::array<const char*, Count>& names) {
    return QString::fromLatin1(names.at(static_cast<std::size_t>(choice)));
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Characters as the user counts them: a character beyond the 16-bit range is one, not two.
qsizetype CharacterCount(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) count += text[i].isLowSurrogate() ? 0 : 1;
    return count;
}

// What makes a file's contents unusable as a model, without the file's name.
struct FormatProblem {
    QString text;
};

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// Reads the model's values out of the JSON, naming each value by its place in the
// file ("spins[8].nucleus") when it is missing or not what it must be.
class ModelReader {
public:
    explicit ModelReader(QJsonObject root) : root_(std::move(root)) {}

    ModelDocument Read() const {
        CheckFormat();
        ModelDocument document;
        const QJsonArray spins = ListAt(root_, {}, "spins", kSlotCount);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const QString place = QStringLiteral("spins[%1]").arg(slot);
            const QJsonObject spin = ObjectIn(spins.at(slot), place);
            document.texts.slots[slot] = {NucleusAt(spin, place, slot),
                                          TextAt(spin, place, "distance"),
                                          TextAt(spin, place, "abundance")};
        }
        const QJsonArray lorentzians = ListAt(root_, {}, "lorentzians", kLorentzianCount);
        for (int term = 0; term < kLorentzianCount; ++term) {
            const QString place = QStringLiteral("lorentzians[%1]").arg(term);
            const QJsonObject lorentzian = ObjectIn(lorentzians.at(term), place);
            document.texts.weights[term] = TextAt(lorentzian, place, "weight");
            document.texts.times[term] = TextAt(lorentzian, place, "time");
        }
        document.texts.csa = TextAt(root_, {}, "csa");
        document.texts.rex = TextAt(root_, {}, "rex");
        document.texts.tableMode = ChoiceAt<TableMode>(root_, {}, "table", kTableModeNames);
        document.plotMode = ChoiceAt<PlotMode>(root_, {}, "plot", kPlotModeNames);
        const QJsonObject array = ObjectIn(MemberAt(root_, {}, "array"), QStringLiteral("array"));
        const QString arrayPlace = QStringLiteral("array");
        document.arrayOn = BoolAt(array, arrayPlace, "on");
        document.arrayParameter =
            ChoiceAt<ArrayParameter>(array, arrayPlace, "parameter", kArrayParameterNames);
        if (Version() >= 2) ReadVersion2(document);
        return document;
    }

private:
    int Version() const { return root_.value(QStringLiteral("version")).toInt(); }

    void ReadVersion2(ModelDocument& document) const {
        document.texts.pairFrequencies =
            ChoiceAt<PairFrequencySigns>(root_, {}, "pairFrequencies", kPairFrequencyNames);
        const QJsonValue motion = MemberAt(root_, {}, "motion");
        if (!motion.isNull()) document.motion = MotionIn(motion);
        const QJsonValue rows = MemberAt(root_, {}, "measurements");
        if (!rows.isArray()) {
            throw FormatProblem{QStringLiteral("\"measurements\" must be a list of objects")};
        }
        for (qsizetype row = 0; row < rows.toArray().size(); ++row) {
            const QString place = QStringLiteral("measurements[%1]").arg(row);
            const QJsonObject cells = ObjectIn(rows.toArray().at(row), place);
            MeasurementTexts measurement;
            for (int column = 0; column < kMeasurementColumnCount; ++column) {
                const std::string key(NameOf(static_cast<MeasurementColumn>(column)));
                measurement.cells[static_cast<std::size_t>(column)] =
                    TextAt(cells, place, key.c_str());
            }
            document.measurements.push_back(measurement);
        }
        if (root_.contains(QStringLiteral("fit"))) document.fit = FitIn(document.motion);
    }

    // Free parameters must be the motion's own, or the fit would move a value nothing uses.
    FitSetup FitIn(const std::optional<MotionTexts>& motion) const {
        const QString place = QStringLiteral("fit");
        const QJsonObject object = ObjectIn(MemberAt(root_, {}, "fit"), place);
        FitSetup fit;
        fit.choice.rex = BoolAt(object, place, "rex");
        fit.choice.csa = BoolAt(object, place, "csa");
        fit.live = BoolAt(object, place, "live");
        const QJsonValue free = MemberAt(object, place, "free");
        const std::span<const MotionParameter> own =
            motion ? ParametersOf(motion->kind) : std::span<const MotionParameter>();
        QStringList keys;
        for (const MotionParameter parameter : own) {
            keys << Quoted(Text(std::string(InfoOf(parameter).key)));
        }
        const QString allowed =
            motion ? QStringLiteral("the motion's parameters: ") + keys.join(QStringLiteral(", "))
                   : QStringLiteral("nothing, as there is no motion");
        if (!free.isArray()) throw FormatProblem{QStringLiteral("\"fit.free\" must be a list")};
        for (const QJsonValue& key : free.toArray()) {
            const auto parameter = std::find_if(own.begin(), own.end(), [&](MotionParameter p) {
                return key.isString() && key.toString() == Text(std::string(InfoOf(p).key));
            });
            if (parameter == own.end()) {
                throw FormatProblem{QStringLiteral("\"fit.free\" may list ") + allowed};
            }
            fit.choice.free.push_back(*parameter);
        }
        // In the order the window's check boxes give them, each once.
        std::sort(fit.choice.free.begin(), fit.choice.free.end());
        fit.choice.free.erase(std::unique(fit.choice.free.begin(), fit.choice.free.end()),
                              fit.choice.free.end());
        return fit;
    }

    static bool BoolAt(const QJsonObject& object, const QString& within, const char* key) {
        const QJsonValue value = MemberAt(object, within, key);
        if (!value.isBool())
            throw FormatProblem{Quoted(Place(within, key)) + " must be true or false"};
        return value.toBool();
    }

    static MotionTexts MotionIn(const QJsonValue& value) {
        const QString place = QStringLiteral("motion");
        const QJsonObject object = ObjectIn(value, place + QStringLiteral(" (or null)"));
        const std::string model = TextAt(object, place, "model");
        const std::optional<MotionKind> kind = MotionKindOfKey(model);
        if (!kind) {
            QStringList keys;
            for (int k = 0; k < kMotionKindCount; ++k) {
                keys << Quoted(Text(std::string(KeyOf(static_cast<MotionKind>(k)))));
            }
            throw FormatProblem{QStringLiteral("\"motion.model\" must be one of %1")
                                    .arg(keys.join(QStringLiteral(", ")))};
        }
        MotionTexts motion;
        motion.kind = *kind;
        for (const MotionParameter parameter : ParametersOf(*kind)) {
            const std::string key(InfoOf(parameter).key);
            motion[parameter] = TextAt(object, place, key.c_str());
        }
        return motion;
    }

    void CheckFormat() const {
        if (root_.value(QStringLiteral("format")).toString() != kFormatName) {
            throw FormatProblem{
                QStringLiteral("not a VELDORIN model (no \"format\": \"%1\")").arg(kFormatName)};
        }
        const QJsonValue version = MemberAt(root_, {}, "version");
        const double number = version.toDouble();
        if (!version.isDouble() || number < 1 || std::floor(number) != number) {
            throw FormatProblem{QStringLiteral("\"version\" must be a whole number from 1")};
        }
        if (number > kModelFormatVersion) {
            throw FormatProblem{
                QStringLiteral("written in model format version %1 by a newer VELDORIN; this "
                               "one reads version %2")
                    .arg(QString::number(number, 'g', 17))
                    .arg(kModelFormatVersion)};
        }
    }

    static QString Place(const QString& within, const char* key) {
        const QString name = QString::fromLatin1(key);
        return within.isEmpty() ? name : within + QLatin1Char('.') + name;
    }

    static QJsonValue MemberAt(const QJsonObject& object, const QString& within, const char* key) {
        const auto member = object.constFind(QLatin1String(key));
        if (member == object.constEnd()) {
            throw FormatProblem{
                QStringLiteral("the key %1 is missing").arg(Quoted(Place(within, key)))};
        }
        return *member;
    }

    static QJsonObject ObjectIn(const QJsonValue& value, const QString& place) {
        if (!value.isObject()) throw FormatProblem{Quoted(place) + " must be an object"};
        return value.toObject();
    }

    static QJsonArray ListAt(const QJsonObject& object, const QString& within, const char* key,
                             qsizetype length) {
        const QJsonValue value = MemberAt(object, within, key);
        if (!value.isArray() || value.toArray().size() != length) {
            throw FormatProblem{QStringLiteral("%1 must be a list of %2 objects")
                                    .arg(Quoted(Place(within, key)))
                                    .arg(length)};
        }
        return value.toArray();
    }

    static std::string TextAt(const QJsonObject& object, const QString& within, const char* key) {
        const QJsonValue value = MemberAt(object, within, key);
        if (!value.isString()) {
            throw FormatProblem{Quoted(Place(within, key)) + " must be a text"};
        }
        const QString text = value.toString();
        if (CharacterCount(text) > kMaxModelTextLength) {
            throw FormatProblem{QStringLiteral("%1 is longer than %2 characters")
                                    .arg(Quoted(Place(within, key)))
                                    .arg(kMaxModelTextLength)};
        }
        return text.toStdString();
    }

    // One of the names the slot's nucleus menu offers, as the window can only set those.
    static std::string NucleusAt(const QJsonObject& spin, const QString& place, int slot) {
        std::string nucleus = TextAt(spin, place, "nucleus");
        const std::vector<std::string_view> offered = OfferedNuclei(slot);
        if (std::find(offered.begin(), offered.end(), nucleus) != offered.end()) return nucleus;
        QStringList names;
        for (std::string_view name : offered) names << Quoted(Text(std::string(name)));
        throw FormatProblem{QStringLiteral("%1 is %2; the nucleus of %3 must be one of %4")
                                .arg(Quoted(Place(place, "nucleus")), Quoted(Text(nucleus)),
                                     slot == kCentralSlot ? QStringLiteral("the central slot")
                                                          : QStringLiteral("a neighbour slot"),
                                     names.join(QStringLiteral(", ")))};
    }

    template <typename Choice, std::size_t Count>
    static Choice ChoiceAt(const QJsonObject& object, const QString& within, const char* key,
                           const std::array<const char*, Count>& names) {
        const QJsonValue value = MemberAt(object, within, key);
        const QString text = value.toString();
        for (std::size_t index = 0; index < Count; ++index) {
            if (value.isString() && text == QLatin1String(names[index])) {
                return static_cast<Choice>(index);
            }
        }
        QStringList choices;
        for (const char* name : names) choices << Quoted(QString::fromLatin1(name));
        throw FormatProblem{
            QStringLiteral("%1 must be one of %2")
                .arg(Quoted(Place(within, key)), choices.join(QStringLiteral(", ")))};
    }

    QJsonObject root_;
};

QString FileError(const QString& path, const QString& problem) {
    return path + QStringLiteral(": ") + problem;
}

ModelFileRead Unread(const QString& path, const QString& problem) {
    return {std::nullopt, FileError(path, problem)};
}

QJsonObject FitObject(const FitSetup& fit) {
    QJsonArray free;
    for (const MotionParameter parameter : fit.choice.free) {
        free.append(Text(std::string(InfoOf(parameter).key)));
    }
    return {{QStringLiteral("free"), free},
            {QStringLiteral("rex"), fit.choice.rex},
            {QStringLiteral("csa"), fit.choice.csa},
            {QStringLiteral("live"), fit.live}};
}

QJsonObject MotionObject(const MotionTexts& motion) {
    QJsonObject object{{QStringLiteral("model"), Text(std::string(KeyOf(motion.kind)))}};
    for (const MotionParameter parameter : ParametersOf(motion.kind)) {
        object.insert(Text(std::string(InfoOf(parameter).key)), Text(motion[parameter]));
    }
    return object;
}

// The texts of the motion and the measurements with the names the user knows them by, as
// NamedTexts gives those of the model texts.
std::vector<std::pair<std::string, const std::string*>> DocumentTexts(
    const ModelDocument& document) {
    std::vector<std::pair<std::string, const std::string*>> texts;
    for (const NamedText& text : NamedTexts(document.texts))
        texts.emplace_back(text.name, text.text);
    if (document.motion) {
        for (const MotionParameter parameter : ParametersOf(document.motion->kind)) {
            texts.emplace_back("motion " + std::string(InfoOf(parameter).label),
                               &(*document.motion)[parameter]);
        }
    }
    for (std::size_t row = 0; row < document.measurements.size(); ++row) {
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            texts.emplace_back("measurement row " + std::to_string(row + 1) + " " +
                                   std::string(NameOf(static_cast<MeasurementColumn>(column))),
                               &document.measurements[row].cells[static_cast<std::size_t>(column)]);
        }
    }
    return texts;
}

}  // namespace

int FormatVersionOf(const ModelDocument& document) {
    const bool version2 = document.motion || !document.measurements.empty() ||
                          document.texts.pairFrequencies != PairFrequencySigns::Magnitudes ||
                          !document.fit.Empty();
    return version2 ? 2 : 1;
}

QByteArray ToJson(const ModelDocument& document) {
    const ModelTexts& texts = document.texts;
    QJsonArray spins;
    for (const SpinSlot& slot : texts.slots) {
        spins.append(QJsonObject{{QStringLiteral("nucleus"), Text(slot.nucleus)},
                                 {QStringLiteral("distance"), Text(slot.distance)},
                                 {QStringLiteral("abundance"), Text(slot.abundance)}});
    }
    QJsonArray lorentzians;
    for (int term = 0; term < kLorentzianCount; ++term) {
        lorentzians.append(QJsonObject{{QStringLiteral("weight"), Text(texts.weights[term])},
                                       {QStringLiteral("time"), Text(texts.times[term])}});
    }
    QJsonObject root{
        {QStringLiteral("format"), kFormatName},
        {QStringLiteral("version"), FormatVersionOf(document)},
        {QStringLiteral("spins"), spins},
        {QStringLiteral("lorentzians"), lorentzians},
        {QStringLiteral("csa"), Text(texts.csa)},
        {QStringLiteral("rex"), Text(texts.rex)},
        {QStringLiteral("table"), NameOf(texts.tableMode, kTableModeNames)},
        {QStringLiteral("plot"), NameOf(document.plotMode, kPlotModeNames)},
        {QStringLiteral("array"),
         QJsonObject{
             {QStringLiteral("on"), document.arrayOn},
             {QStringLiteral("parameter"), NameOf(document.arrayParameter, kArrayParameterNames)}}},
    };
    if (FormatVersionOf(document) >= 2) {
        root.insert(QStringLiteral("pairFrequencies"),
                    NameOf(texts.pairFrequencies, kPairFrequencyNames));
        root.insert(QStringLiteral("motion"),
                    document.motion ? QJsonValue(MotionObject(*document.motion)) : QJsonValue());
        QJsonArray rows;
        for (const MeasurementTexts& row : document.measurements) {
            QJsonObject cells;
            for (int column = 0; column < kMeasurementColumnCount; ++column) {
                cells.insert(Text(std::string(NameOf(static_cast<MeasurementColumn>(column)))),
                             Text(row.cells[static_cast<std::size_t>(column)]));
            }
            rows.append(cells);
        }
        root.insert(QStringLiteral("measurements"), rows);
        if (!document.fit.Empty()) root.insert(QStringLiteral("fit"), FitObject(document.fit));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ModelFileRead ReadModelFile(const QString& path) {
    // Opened by its bytes, so that a name in any encoding is found.
    const QByteArray name = NativeName(path);
    const InputFileRead read =
        ReadInputFile(std::string(name.constData(), name.size()), kMaxModelFileBytes);
    if (!read.bytes) return Unread(path, Text(read.reason));
    const QByteArray bytes = QByteArray::fromStdString(*read.bytes);
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return Unread(path, QStringLiteral("not JSON (%1 at byte %2)")
                                .arg(parseError.errorString())
                                .arg(parseError.offset));
    }
    if (!json.isObject()) {
        return Unread(path, QStringLiteral("not a VELDORIN model (not a JSON object)"));
    }
    try {
        return {ModelReader(json.object()).Read(), QString()};
    } catch (const FormatProblem& problem) {
        return Unread(path, problem.text);
    }
}

std::optional<QString> WriteModelFile(const QString& path, const ModelDocument& document) {
    for (const auto& [name, text] : DocumentTexts(document)) {
        if (CharacterCount(Text(*text)) > kMaxModelTextLength) {
            return QStringLiteral(
                       "Could not save %1: %2 holds more than %3 characters, more "
                       "than a model file keeps. Nothing was written.")
                .arg(path, Text(name))
                .arg(kMaxModelTextLength);
        }
    }
    const QByteArray bytes = ToJson(document);
    if (static_cast<std::size_t>(bytes.size()) > kMaxModelFileBytes) {
        return QStringLiteral(
                   "Could not save %1: the model would be %2 MiB; the limit is %3, the "
                   "largest model file that opens again. Nothing was written.")
            .arg(path, QString::number(static_cast<double>(bytes.size()) / (1 << 20), 'f', 1),
                 Text(SizeText(kMaxModelFileBytes)));
    }
    return SaveBytesAside(path, bytes);
}

}  // namespace veldorin
