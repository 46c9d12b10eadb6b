// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/protein_project_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/constants.h"
#include "files/native_name.h"
#include "files/save_aside.h"

namespace veldorin {
namespace {

const QString kFormatName = QStringLiteral("veldorin-protein");

constexpr std::array<const char*, 3> kCriterionNames = {"aic", "aicc", "bic"};
constexpr std::array<const char*, 2> kPairFrequencyNames = {"magnitudes", "signed"};
constexpr std::array<const char*, 3> kStatusNames = {"converged", "notConverged", "failed"};
constexpr std::array<const char*, 3> kFlagNames = {"none", "atBound", "undetermined"};
constexpr std::array<const char*, 3> kTmErrorSourceNames = {"none", "profile", "monteCarlo"};
enum class TmMode { Global, Local, Fixed };
constexpr std::array<const char*, 3> kTmModeNames = {"global", "local", "fixed"};
constexpr std::array<const char*, kDiffusionModelCount> kDiffusionModelNames = {
    "sphere", "prolate", "oblate", "ellipsoid"};
constexpr std::array<const char*, kDiffusionChoiceCount> kDiffusionChoiceNames = {
    "sphere", "prolate", "oblate", "ellipsoid", "auto"};

template <typename Choice, std::size_t Count>
QString NameOf(Choice choice, const std::array<const char*, Count>& names) {
    return QString::fromLatin1(names.at(static_cast<std::size_t>(choice)));
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// A double as the file keeps it: a number, or a text where JSON has none.
QJsonValue NumberValue(double value) {
    if (std::isnan(value)) return QStringLiteral("nan");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (value == 0.0 && std::signbit(value)) return QStringLiteral("-0");
    return value;
}

QJsonValue ModelValue(const std::optional<int>& model) {
    return model ? QJsonValue(*model) : QJsonValue();
}

QJsonArray NumberList(const std::vector<double>& values) {
    QJsonArray list;
    for (const double value : values) list.append(NumberValue(value));
    return list;
}

QJsonObject ParameterValues(const ModelFreeValues& values) {
    QJsonObject object;
    for (int p = 0; p < kModelFreeParameterCount; ++p) {
        const auto parameter = static_cast<ModelFreeParameter>(p);
        object.insert(Text(ParameterName(parameter)), NumberValue(values[parameter]));
    }
    return object;
}

QJsonObject SpreadObject(const ParameterSpread& spread) {
    return {{QStringLiteral("sd"), NumberValue(spread.standardDeviation)},
            {QStringLiteral("low"), NumberValue(spread.low)},
            {QStringLiteral("high"), NumberValue(spread.high)}};
}

QJsonObject ModelFitObject(const ModelFit& fit) {
    QJsonArray free;
    for (const ModelFreeParameter parameter : fit.free) free.append(Text(ParameterName(parameter)));
    QJsonArray flags;
    for (const ParameterFlag flag : fit.flags) flags.append(NameOf(flag, kFlagNames));
    return {{QStringLiteral("model"), fit.model},
            {QStringLiteral("status"), NameOf(fit.status, kStatusNames)},
            {QStringLiteral("reason"), Text(fit.reason)},
            {QStringLiteral("values"), ParameterValues(fit.values)},
            {QStringLiteral("errors"), ParameterValues(fit.errors)},
            {QStringLiteral("free"), free},
            {QStringLiteral("flags"), flags},
            {QStringLiteral("chi2"), NumberValue(fit.chi2)},
            {QStringLiteral("measurements"), static_cast<double>(fit.measurements)},
            {QStringLiteral("eliminated"), Text(fit.eliminated)}};
}

QJsonObject MonteCarloObject(const MonteCarloErrors& errors) {
    QJsonObject spread;
    for (int p = 0; p < kModelFreeParameterCount; ++p) {
        spread.insert(Text(ParameterName(static_cast<ModelFreeParameter>(p))),
                      SpreadObject(errors.spread[static_cast<std::size_t>(p)]));
    }
    return {{QStringLiteral("spread"), spread},
            {QStringLiteral("s2"), SpreadObject(errors.s2)},
            {QStringLiteral("fitted"), errors.fitted}};
}

QJsonObject OutcomeObject(const ResidueOutcome& outcome) {
    QJsonArray eliminated;
    for (const EliminatedModel& model : outcome.eliminated) {
        eliminated.append(QJsonObject{{QStringLiteral("model"), model.model},
                                      {QStringLiteral("reason"), Text(model.reason)}});
    }
    return {{QStringLiteral("residue"), Text(outcome.residue)},
            {QStringLiteral("fit"),
             outcome.fit ? QJsonValue(ModelFitObject(*outcome.fit)) : QJsonValue()},
            {QStringLiteral("monteCarlo"),
             outcome.monteCarlo ? QJsonValue(MonteCarloObject(*outcome.monteCarlo)) : QJsonValue()},
            {QStringLiteral("failure"), Text(outcome.failure)},
            {QStringLiteral("eliminated"), eliminated},
            {QStringLiteral("monteCarloFailed"), outcome.monteCarloFailed},
            {QStringLiteral("calculated"), NumberList(outcome.calculated)}};
}

QJsonArray Triple(const std::array<double, 3>& values) {
    return NumberList({values.begin(), values.end()});
}

QJsonObject TensorObject(const DiffusionTensor& tensor) {
    return {{QStringLiteral("model"), NameOf(tensor.model, kDiffusionModelNames)},
            {QStringLiteral("d"), Triple(tensor.d)},
            {QStringLiteral("eulerAngles"), Triple(tensor.eulerAngles)}};
}

QJsonObject CandidateObject(const DiffusionModelFit& fit) {
    QJsonArray rounds;
    for (const DiffusionRound& round : fit.rounds) {
        QJsonArray models;
        for (const int model : round.models) models.append(model);
        rounds.append(QJsonObject{{QStringLiteral("models"), models},
                                  {QStringLiteral("tensor"), TensorObject(round.tensor)},
                                  {QStringLiteral("chi2"), NumberValue(round.chi2)}});
    }
    const TensorErrors& errors = fit.errors;
    return {{QStringLiteral("model"), NameOf(fit.model, kDiffusionModelNames)},
            {QStringLiteral("tensor"), TensorObject(fit.tensor)},
            {QStringLiteral("errors"),
             QJsonObject{{QStringLiteral("tmPs"), NumberValue(errors.tmPs)},
                         {QStringLiteral("d"), Triple(errors.d)},
                         {QStringLiteral("axesDegrees"), Triple(errors.axesDegrees)},
                         {QStringLiteral("spheroidRatio"), NumberValue(errors.spheroidRatio)},
                         {QStringLiteral("monteCarlo"), errors.monteCarlo}}},
            {QStringLiteral("failure"), Text(fit.failure)},
            {QStringLiteral("rounds"), rounds},
            {QStringLiteral("chi2"), NumberValue(fit.chi2)},
            {QStringLiteral("parameters"), static_cast<double>(fit.parameters)},
            {QStringLiteral("measurements"), static_cast<double>(fit.measurements)},
            {QStringLiteral("score"), NumberValue(fit.score)}};
}

// The start from the R2/R1 ratios is left out: the report of a fit has it.
QJsonObject DiffusionObject(const DiffusionResult& diffusion) {
    QJsonArray candidates;
    for (const DiffusionModelFit& fit : diffusion.candidates)
        candidates.append(CandidateObject(fit));
    QJsonArray withoutBond;
    for (const std::string& residue : diffusion.withoutBond) withoutBond.append(Text(residue));
    return {{QStringLiteral("candidates"), candidates},
            {QStringLiteral("chosen"), static_cast<double>(diffusion.chosen)},
            {QStringLiteral("withoutBond"), withoutBond}};
}

QJsonObject FitObject(const ProteinFit& fit) {
    QJsonArray residues;
    for (const ResidueOutcome& outcome : fit.residues) residues.append(OutcomeObject(outcome));
    QJsonObject object{{QStringLiteral("residues"), residues},
                       {QStringLiteral("globalTmPs"),
                        fit.globalTmPs ? NumberValue(*fit.globalTmPs) : QJsonValue()},
                       {QStringLiteral("globalTmErrorPs"), NumberValue(fit.globalTmErrorPs)},
                       {QStringLiteral("globalTmErrorSource"),
                        NameOf(fit.globalTmErrorSource, kTmErrorSourceNames)},
                       {QStringLiteral("globalTmLowPs"), NumberValue(fit.globalTmLowPs)},
                       {QStringLiteral("globalTmHighPs"), NumberValue(fit.globalTmHighPs)},
                       {QStringLiteral("rounds"), fit.rounds},
                       {QStringLiteral("stopped"), fit.stopped}};
    if (fit.diffusion) object.insert(QStringLiteral("diffusion"), DiffusionObject(*fit.diffusion));
    return object;
}

QJsonObject StructureObject(const ProteinStructure& structure, const ProteinSettings& settings) {
    QJsonObject object{
        {QStringLiteral("fileName"), Text(structure.fileName)},
        {QStringLiteral("text"), Text(structure.text)},
        {QStringLiteral("bond"), Text(BondText(settings.bond))},
        {QStringLiteral("diffusion"), NameOf(settings.diffusion, kDiffusionChoiceNames)}};
    // Model 1 writes no key, so that its files are those written before the choice was.
    if (settings.bond.averageModels) {
        object.insert(QStringLiteral("ensembleAverage"), true);
    } else if (settings.bond.model != 1) {
        object.insert(QStringLiteral("ensembleModel"), settings.bond.model);
    }
    return object;
}

TmMode TmModeOf(const ProteinFitOptions& options) {
    if (options.globalTm) return TmMode::Global;
    return options.residue.fitTm ? TmMode::Local : TmMode::Fixed;
}

// The fit's partner; settings made without one are read back with the backbone amide's.
FitSpinSystem::Neighbour PartnerOf(const FitSpinSystem& system) {
    return system.neighbours.empty() ? BackboneAmide().neighbours.front()
                                     : system.neighbours.front();
}

QJsonObject SettingsObject(const ProteinSettings& settings) {
    const ProteinFitOptions& fit = settings.fit;
    const FitSpinSystem& system = fit.residue.system;
    QJsonObject chosen;
    for (const auto& [residue, model] : fit.chosenModels) chosen.insert(Text(residue), model);
    return {
        {QStringLiteral("nucleus"), Text(settings.nucleus)},
        {QStringLiteral("partner"), Text(settings.partner)},
        {QStringLiteral("distanceAngstrom"), NumberValue(PartnerOf(system).distance)},
        {QStringLiteral("csaPpm"), NumberValue(system.csaPpm)},
        {QStringLiteral("rexAt800"), NumberValue(system.rexAt800)},
        {QStringLiteral("pairFrequencies"), NameOf(system.pairFrequencies, kPairFrequencyNames)},
        {QStringLiteral("model"), ModelValue(fit.model)},
        {QStringLiteral("chosenModels"), chosen},
        {QStringLiteral("criterion"), NameOf(fit.criterion, kCriterionNames)},
        {QStringLiteral("tm"), NameOf(TmModeOf(fit), kTmModeNames)},
        {QStringLiteral("tmPs"), NumberValue(fit.residue.tmPs)},
        {QStringLiteral("fitCsa"), fit.residue.fitCsa},
        {QStringLiteral("monteCarloSets"), fit.monteCarloSets},
        {QStringLiteral("seed"), QString::number(fit.seed)},
        {QStringLiteral("rexFieldMHz"), NumberValue(settings.rexFieldMHz)}};
}

QJsonArray ResiduesArray(const ProteinData& data) {
    QJsonArray residues;
    for (const ResidueData& residue : data.residues) {
        QJsonArray measurements;
        for (std::size_t m = 0; m < residue.measurements.size(); ++m) {
            const Measurement& measurement = residue.measurements[m];
            measurements.append(QJsonObject{
                {QStringLiteral("fieldMHz"), NumberValue(measurement.fieldMHz)},
                {QStringLiteral("quantity"), Text(NameOf(measurement.quantity))},
                {QStringLiteral("value"), NumberValue(measurement.value)},
                {QStringLiteral("error"), NumberValue(measurement.error)},
                {QStringLiteral("line"), m < residue.lines.size() ? residue.lines[m] : 0}});
        }
        residues.append(QJsonObject{{QStringLiteral("residue"), Text(residue.residue)},
                                    {QStringLiteral("measurements"), measurements}});
    }
    return residues;
}

QJsonArray DecaysArray(const std::vector<DecayFit>& decays) {
    QJsonArray list;
    for (const DecayFit& decay : decays) {
        const DecaySeries& series = decay.series;
        QJsonArray points;
        for (const DecayPoint& point : series.points) {
            points.append(QJsonObject{{QStringLiteral("delayS"), NumberValue(point.delayS)},
                                      {QStringLiteral("intensity"), NumberValue(point.intensity)},
                                      {QStringLiteral("error"), NumberValue(point.error)},
                                      {QStringLiteral("line"), point.line}});
        }
        list.append(QJsonObject{{QStringLiteral("residue"), Text(series.residue)},
                                {QStringLiteral("quantity"), Text(NameOf(series.quantity))},
                                {QStringLiteral("fieldMHz"), NumberValue(series.fieldMHz)},
                                {QStringLiteral("errorsGiven"), series.errorsGiven},
                                {QStringLiteral("points"), points},
                                {QStringLiteral("i0"), NumberValue(decay.i0)},
                                {QStringLiteral("i0Error"), NumberValue(decay.i0Error)},
                                {QStringLiteral("rate"), NumberValue(decay.rate)},
                                {QStringLiteral("rateError"), NumberValue(decay.rateError)},
                                {QStringLiteral("offset"), NumberValue(decay.offset)},
                                {QStringLiteral("offsetError"), NumberValue(decay.offsetError)},
                                {QStringLiteral("chi2"), NumberValue(decay.chi2)}});
    }
    return list;
}

// What makes a file's contents unusable as a project, without the file's name.
struct FormatProblem {
    QString text;
};

// A value of the file with its place in it ("residues[2].measurements[0]"), read as what
// it must be or refused with a message that names the place.
class Node {
public:
    Node(QJsonValue value, QString place) : value_(std::move(value)), place_(std::move(place)) {}

    bool IsNull() const { return value_.isNull(); }

    Node operator[](const char* key) const {
        const QJsonObject object = Object();
        const auto member = object.constFind(QLatin1String(key));
        const QString place = place_.isEmpty() ? QString::fromLatin1(key)
                                               : place_ + QLatin1Char('.') + QLatin1String(key);
        if (member == object.constEnd()) {
            throw FormatProblem{QStringLiteral("the key %1 is missing").arg(Quoted(place))};
        }
        return {*member, place};
    }

    // A key that files written before it was added do not have.
    std::optional<Node> Optional(const char* key) const {
        if (!Object().contains(QLatin1String(key))) return std::nullopt;
        return (*this)[key];
    }

    std::vector<Node> Items() const {
        if (!value_.isArray()) Refuse(QStringLiteral("must be a list"));
        std::vector<Node> items;
        const QJsonArray array = value_.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            items.emplace_back(array.at(i), place_ + QStringLiteral("[%1]").arg(i));
        }
        return items;
    }

    std::vector<std::pair<std::string, Node>> Members() const {
        std::vector<std::pair<std::string, Node>> members;
        const QJsonObject object = Object();
        for (auto member = object.constBegin(); member != object.constEnd(); ++member) {
            members.emplace_back(
                member.key().toStdString(),
                Node(member.value(), place_ + QStringLiteral("[%1]").arg(Quoted(member.key()))));
        }
        return members;
    }

    double Number() const {
        if (value_.isDouble()) return value_.toDouble();
        const QString text = value_.toString();
        if (value_.isString()) {
            if (text == QLatin1String("nan")) return std::numeric_limits<double>::quiet_NaN();
            if (text == QLatin1String("inf")) return std::numeric_limits<double>::infinity();
            if (text == QLatin1String("-inf")) return -std::numeric_limits<double>::infinity();
            if (text == QLatin1String("-0")) return -0.0;
        }
        Refuse(QStringLiteral("must be a number (or \"nan\", \"inf\", \"-inf\", \"-0\")"));
    }

    double Above0() const {
        const double number = Number();
        if (!(number > 0.0) || !std::isfinite(number)) Refuse(QStringLiteral("must be above 0"));
        return number;
    }

    double Finite() const {
        const double number = Number();
        if (!std::isfinite(number)) Refuse(QStringLiteral("must be a finite number"));
        return number;
    }

    int Whole(int low, int high) const {
        const double number = value_.toDouble();
        if (!value_.isDouble() || std::floor(number) != number || number < low || number > high) {
            Refuse(QStringLiteral("must be a whole number from %1 to %2").arg(low).arg(high));
        }
        return static_cast<int>(number);
    }

    int Model() const { return Whole(0, kModelFreeModelCount - 1); }

    std::optional<int> OptionalModel() const {
        if (IsNull()) return std::nullopt;
        return Model();
    }

    bool Bool() const {
        if (!value_.isBool()) Refuse(QStringLiteral("must be true or false"));
        return value_.toBool();
    }

    std::string Text() const {
        if (!value_.isString()) Refuse(QStringLiteral("must be a text"));
        return value_.toString().toStdString();
    }

    template <typename Choice, std::size_t Count>
    Choice OneOf(const std::array<const char*, Count>& names) const {
        for (std::size_t index = 0; index < Count; ++index) {
            if (value_.isString() && value_.toString() == QLatin1String(names[index])) {
                return static_cast<Choice>(index);
            }
        }
        QStringList choices;
        for (const char* name : names) choices << Quoted(QString::fromLatin1(name));
        Refuse(QStringLiteral("must be one of ") + choices.join(QStringLiteral(", ")));
    }

    [[noreturn]] void Refuse(const QString& what) const {
        throw FormatProblem{Quoted(place_) + QLatin1Char(' ') + what};
    }

private:
    QJsonObject Object() const {
        if (!value_.isObject()) Refuse(QStringLiteral("must be an object"));
        return value_.toObject();
    }

    QJsonValue value_;
    QString place_;
};

ModelFreeParameter ParameterOf(const Node& node) {
    const std::string name = node.Text();
    for (int p = 0; p < kModelFreeParameterCount; ++p) {
        const auto parameter = static_cast<ModelFreeParameter>(p);
        if (name == ParameterName(parameter)) return parameter;
    }
    node.Refuse(QStringLiteral("must name a parameter (\"tm_ps\", \"S2f\", ...)"));
}

ModelFreeValues ParameterValuesIn(const Node& node) {
    ModelFreeValues values;
    for (int p = 0; p < kModelFreeParameterCount; ++p) {
        const std::string name(ParameterName(static_cast<ModelFreeParameter>(p)));
        values.values[static_cast<std::size_t>(p)] = node[name.c_str()].Number();
    }
    return values;
}

ParameterSpread SpreadIn(const Node& node) {
    return {node["sd"].Number(), node["low"].Number(), node["high"].Number()};
}

ModelFit ModelFitIn(const Node& node) {
    ModelFit fit;
    fit.model = node["model"].Model();
    fit.status = node["status"].OneOf<FitResult::Status>(kStatusNames);
    fit.reason = node["reason"].Text();
    fit.values = ParameterValuesIn(node["values"]);
    fit.errors = ParameterValuesIn(node["errors"]);
    for (const Node& name : node["free"].Items()) fit.free.push_back(ParameterOf(name));
    const Node flags = node["flags"];
    for (const Node& flag : flags.Items())
        fit.flags.push_back(flag.OneOf<ParameterFlag>(kFlagNames));
    if (fit.flags.size() != fit.free.size()) {
        flags.Refuse(QStringLiteral("must hold one flag for each free parameter"));
    }
    fit.chi2 = node["chi2"].Number();
    fit.measurements =
        static_cast<std::size_t>(node["measurements"].Whole(0, std::numeric_limits<int>::max()));
    fit.eliminated = node["eliminated"].Text();
    return fit;
}

MonteCarloErrors MonteCarloIn(const Node& node) {
    MonteCarloErrors errors;
    const Node spread = node["spread"];
    for (int p = 0; p < kModelFreeParameterCount; ++p) {
        const std::string name(ParameterName(static_cast<ModelFreeParameter>(p)));
        errors.spread[static_cast<std::size_t>(p)] = SpreadIn(spread[name.c_str()]);
    }
    errors.s2 = SpreadIn(node["s2"]);
    errors.fitted = node["fitted"].Whole(0, kMaxMonteCarloSets);
    return errors;
}

ResidueOutcome OutcomeIn(const Node& node) {
    ResidueOutcome outcome;
    outcome.residue = node["residue"].Text();
    if (const Node fit = node["fit"]; !fit.IsNull()) outcome.fit = ModelFitIn(fit);
    if (const Node errors = node["monteCarlo"]; !errors.IsNull()) {
        outcome.monteCarlo = MonteCarloIn(errors);
    }
    outcome.failure = node["failure"].Text();
    for (const Node& model : node["eliminated"].Items()) {
        outcome.eliminated.push_back({model["model"].Model(), model["reason"].Text()});
    }
    outcome.monteCarloFailed = node["monteCarloFailed"].Whole(0, kMaxMonteCarloSets);
    for (const Node& value : node["calculated"].Items()) {
        outcome.calculated.push_back(value.Number());
    }
    return outcome;
}

std::array<double, 3> TripleIn(const Node& node) {
    const std::vector<Node> items = node.Items();
    if (items.size() != 3) node.Refuse(QStringLiteral("must hold three numbers"));
    return {items[0].Number(), items[1].Number(), items[2].Number()};
}

DiffusionTensor TensorIn(const Node& node) {
    DiffusionTensor tensor;
    tensor.model = node["model"].OneOf<DiffusionModel>(kDiffusionModelNames);
    tensor.d = TripleIn(node["d"]);
    tensor.eulerAngles = TripleIn(node["eulerAngles"]);
    return tensor;
}

std::size_t CountIn(const Node& node) {
    return static_cast<std::size_t>(node.Whole(0, std::numeric_limits<int>::max()));
}

DiffusionModelFit CandidateIn(const Node& node) {
    DiffusionModelFit fit;
    fit.model = node["model"].OneOf<DiffusionModel>(kDiffusionModelNames);
    fit.tensor = TensorIn(node["tensor"]);
    const Node errors = node["errors"];
    fit.errors.tmPs = errors["tmPs"].Number();
    fit.errors.d = TripleIn(errors["d"]);
    fit.errors.axesDegrees = TripleIn(errors["axesDegrees"]);
    if (const auto ratio = errors.Optional("spheroidRatio"))
        fit.errors.spheroidRatio = ratio->Number();
    fit.errors.monteCarlo = errors["monteCarlo"].Bool();
    fit.failure = node["failure"].Text();
    for (const Node& round : node["rounds"].Items()) {
        DiffusionRound& read = fit.rounds.emplace_back();
        for (const Node& model : round["models"].Items())
            read.models.push_back(model.Whole(-1, kModelFreeModelCount - 1));
        read.tensor = TensorIn(round["tensor"]);
        read.chi2 = round["chi2"].Number();
    }
    fit.chi2 = node["chi2"].Number();
    fit.parameters = CountIn(node["parameters"]);
    fit.measurements = CountIn(node["measurements"]);
    fit.score = node["score"].Number();
    return fit;
}

DiffusionResult DiffusionIn(const Node& node) {
    DiffusionResult diffusion;
    for (const Node& candidate : node["candidates"].Items())
        diffusion.candidates.push_back(CandidateIn(candidate));
    const Node chosen = node["chosen"];
    diffusion.chosen = CountIn(chosen);
    if (diffusion.chosen >= diffusion.candidates.size())
        chosen.Refuse(QStringLiteral("must be the index of one of the candidates"));
    for (const Node& residue : node["withoutBond"].Items())
        diffusion.withoutBond.push_back(residue.Text());
    return diffusion;
}

// The fit's residues must be the data's, in their order: the windows find a residue's
// outcome by its place in the data.
ProteinFit FitIn(const Node& node, const ProteinData& data) {
    ProteinFit fit;
    const std::vector<Node> residues = node["residues"].Items();
    if (residues.size() != data.residues.size()) {
        node["residues"].Refuse(
            QStringLiteral("must hold one outcome for each of the %1 residues of the data")
                .arg(data.residues.size()));
    }
    for (std::size_t r = 0; r < residues.size(); ++r) {
        fit.residues.push_back(OutcomeIn(residues[r]));
        if (fit.residues.back().residue != data.residues[r].residue) {
            residues[r]["residue"].Refuse(
                QStringLiteral("must be %1, the residue of the data there")
                    .arg(Quoted(Text(data.residues[r].residue))));
        }
    }
    if (const Node tm = node["globalTmPs"]; !tm.IsNull()) fit.globalTmPs = tm.Number();
    fit.globalTmErrorPs = node["globalTmErrorPs"].Number();
    fit.globalTmErrorSource = node["globalTmErrorSource"].OneOf<TmErrorSource>(kTmErrorSourceNames);
    fit.globalTmLowPs = node["globalTmLowPs"].Number();
    fit.globalTmHighPs = node["globalTmHighPs"].Number();
    fit.rounds = node["rounds"].Whole(0, std::numeric_limits<int>::max());
    fit.stopped = node["stopped"].Bool();
    if (const auto diffusion = node.Optional("diffusion")) fit.diffusion = DiffusionIn(*diffusion);
    return fit;
}

float GammaIn(const Node& node) {
    const std::optional<float> gamma = GammaOf(node.Text());
    if (!gamma) node.Refuse(QStringLiteral("must be \"1H\", \"13C\" or \"15N\""));
    return *gamma;
}

std::uint64_t SeedIn(const Node& node) {
    const std::string text = node.Text();
    std::uint64_t seed = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || failure != std::errc() || end != text.data() + text.size()) {
        node.Refuse(QStringLiteral("must be the digits of a whole number from 0 to 2^64 - 1"));
    }
    return seed;
}

ProteinSettings SettingsIn(const Node& node) {
    ProteinSettings settings;
    ProteinFitOptions& fit = settings.fit;
    FitSpinSystem& system = fit.residue.system;
    system = BackboneAmide();
    settings.nucleus = node["nucleus"].Text();
    system.centralGamma = GammaIn(node["nucleus"]);
    settings.partner = node["partner"].Text();
    system.neighbours.front().gamma = GammaIn(node["partner"]);
    system.neighbours.front().distance = node["distanceAngstrom"].Above0();
    system.csaPpm = node["csaPpm"].Finite();
    system.rexAt800 = node["rexAt800"].Finite();
    system.pairFrequencies = node["pairFrequencies"].OneOf<PairFrequencySigns>(kPairFrequencyNames);
    fit.model = node["model"].OptionalModel();
    for (const auto& [residue, model] : node["chosenModels"].Members()) {
        fit.chosenModels[residue] = model.Model();
    }
    fit.criterion = node["criterion"].OneOf<Criterion>(kCriterionNames);
    const TmMode tm = node["tm"].OneOf<TmMode>(kTmModeNames);
    fit.globalTm = tm == TmMode::Global;
    fit.residue.fitTm = tm == TmMode::Local;
    fit.residue.tmPs = node["tmPs"].Above0();
    fit.residue.fitCsa = node["fitCsa"].Bool();
    fit.monteCarloSets = node["monteCarloSets"].Whole(0, kMaxMonteCarloSets);
    fit.seed = SeedIn(node["seed"]);
    settings.rexFieldMHz = node["rexFieldMHz"].Above0();
    return settings;
}

ProteinData DataIn(const Node& node) {
    ProteinData data;
    for (const Node& residue : node.Items()) {
        ResidueData& read = data.residues.emplace_back();
        read.residue = residue["residue"].Text();
        for (const Node& row : residue["measurements"].Items()) {
            const Node quantity = row["quantity"];
            const std::optional<Quantity> named = QuantityNamed(quantity.Text());
            if (!named) quantity.Refuse(QStringLiteral("must be R1, R2, NOE, T1 or T2"));
            read.measurements.push_back(
                {row["fieldMHz"].Above0(), *named, row["value"].Finite(), row["error"].Above0()});
            read.lines.push_back(row["line"].Whole(0, std::numeric_limits<int>::max()));
        }
    }
    return data;
}

Quantity RateIn(const Node& node) {
    const std::optional<Quantity> named = QuantityNamed(node.Text());
    if (named != Quantity::R1 && named != Quantity::R2)
        node.Refuse(QStringLiteral("must be R1 or R2"));
    return *named;
}

std::vector<DecayFit> DecaysIn(const Node& node) {
    std::vector<DecayFit> decays;
    for (const Node& item : node.Items()) {
        DecayFit& decay = decays.emplace_back();
        DecaySeries& series = decay.series;
        series.residue = item["residue"].Text();
        series.quantity = RateIn(item["quantity"]);
        series.fieldMHz = item["fieldMHz"].Above0();
        series.errorsGiven = item["errorsGiven"].Bool();
        for (const Node& point : item["points"].Items()) {
            series.points.push_back({point["delayS"].Finite(), point["intensity"].Finite(),
                                     point["error"].Above0(),
                                     point["line"].Whole(0, std::numeric_limits<int>::max())});
        }
        decay.i0 = item["i0"].Number();
        decay.i0Error = item["i0Error"].Number();
        decay.rate = item["rate"].Number();
        decay.rateError = item["rateError"].Number();
        decay.offset = item["offset"].Number();
        decay.offsetError = item["offsetError"].Number();
        decay.chi2 = item["chi2"].Number();
    }
    return decays;
}

// The structure's bonds are read again from its text, with the bond, its model of an
// ensemble and the diffusion choice it keeps going into the settings. Returns what the
// user should know: the model kept is not the structure's, and model 1 is taken instead.
std::string TakeStructureIn(const Node& node, ProteinProject& project) {
    const Node bond = node["bond"];
    const std::optional<BondSelection> named = BondNamed(bond.Text());
    if (!named) bond.Refuse(QStringLiteral("must name two atoms, as \"N-H\""));
    BondSelection asked = *named;
    if (const auto average = node.Optional("ensembleAverage"))
        asked.averageModels = average->Bool();
    if (const auto model = node.Optional("ensembleModel"))
        asked.model = model->Whole(1, std::numeric_limits<int>::max());
    project.settings.diffusion = node["diffusion"].OneOf<DiffusionChoice>(kDiffusionChoiceNames);
    const std::string fileName = node["fileName"].Text();
    ProteinStructureTaken taken =
        TakeProteinStructure(fileName, node["text"].Text(), asked, project.data);
    if (!taken.read.structure)
        node["text"].Refuse(QStringLiteral("is not a structure read: ") + Text(taken.read.error));
    project.settings.bond = taken.bond;
    project.structure = *std::move(taken.read.structure);
    return taken.modelNote.empty() ? "" : fileName + ": " + taken.modelNote;
}

void CheckFormat(const Node& root) {
    const Node format = root["format"];
    if (format.Text() != kFormatName.toStdString()) {
        throw FormatProblem{QStringLiteral("not a VELDORIN protein project (no \"format\": \"%1\")")
                                .arg(kFormatName)};
    }
    const Node version = root["version"];
    const int number = version.Whole(1, std::numeric_limits<int>::max());
    if (number > kProteinProjectFormatVersion) {
        throw FormatProblem{
            QStringLiteral("written in protein project format version %1 by a newer VELDORIN; "
                           "this one reads version %2")
                .arg(number)
                .arg(kProteinProjectFormatVersion)};
    }
}

ProteinProjectRead ProjectIn(const Node& root) {
    CheckFormat(root);
    ProteinProject project;
    for (const Node& source : root["sources"].Items()) project.sources.push_back(source.Text());
    project.data = DataIn(root["residues"]);
    project.settings = SettingsIn(root["settings"]);
    for (const auto& [residue, choice] : root["choices"].Members()) {
        project.choices[residue] = {choice["model"].OptionalModel(), choice["rowsEdited"].Bool()};
    }
    if (const Node fit = root["fit"]; !fit.IsNull()) project.fit = FitIn(fit, project.data);
    if (const auto decays = root.Optional("decays")) project.decays = DecaysIn(*decays);
    std::string note;
    if (const auto structure = root.Optional("structure"))
        note = TakeStructureIn(*structure, project);
    return {std::move(project), QString(), Text(note)};
}

ProteinProjectRead Unread(const QString& name, const QString& problem) {
    return {std::nullopt, name + QStringLiteral(": ") + problem, QString()};
}

}  // namespace

QByteArray ProteinProjectJson(const ProteinProject& project) {
    QJsonArray sources;
    for (const std::string& source : project.sources) sources.append(Text(source));
    QJsonObject choices;
    for (const auto& [residue, choice] : project.choices) {
        choices.insert(Text(residue),
                       QJsonObject{{QStringLiteral("model"), ModelValue(choice.model)},
                                   {QStringLiteral("rowsEdited"), choice.rowsEdited}});
    }
    QJsonObject root{
        {QStringLiteral("format"), kFormatName},
        {QStringLiteral("version"), kProteinProjectFormatVersion},
        {QStringLiteral("sources"), sources},
        {QStringLiteral("residues"), ResiduesArray(project.data)},
        {QStringLiteral("settings"), SettingsObject(project.settings)},
        {QStringLiteral("choices"), choices},
        {QStringLiteral("fit"), project.fit ? QJsonValue(FitObject(*project.fit)) : QJsonValue()},
        {QStringLiteral("decays"), DecaysArray(project.decays)},
    };
    if (project.structure) {
        root.insert(QStringLiteral("structure"),
                    StructureObject(*project.structure, project.settings));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ProteinProjectRead ProteinProjectFromJson(const QByteArray& json, const QString& name) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return Unread(name, QStringLiteral("not JSON (%1 at byte %2)")
                                .arg(parseError.errorString())
                                .arg(parseError.offset));
    }
    if (!document.isObject()) {
        return Unread(name, QStringLiteral("not a VELDORIN protein project (not a JSON object)"));
    }
    try {
        return ProjectIn(Node(document.object(), QString()));
    } catch (const FormatProblem& problem) {
        return Unread(name, problem.text);
    }
}

ProteinProjectRead ReadProteinProjectFile(const QString& path) {
    // Opened by its bytes, so that a name in any encoding is found.
    const QByteArray name = NativeName(path);
    const InputFileRead read =
        ReadInputFile(std::string(name.constData(), name.size()), kMaxProteinProjectFileBytes);
    if (!read.bytes) return Unread(path, Text(read.reason));
    return ProteinProjectFromJson(QByteArray::fromStdString(*read.bytes), path);
}

std::optional<QString> WriteProteinProjectFile(const QString& path, const ProteinProject& project) {
    const QByteArray bytes = ProteinProjectJson(project);
    if (static_cast<std::size_t>(bytes.size()) > kMaxProteinProjectFileBytes) {
        return QStringLiteral(
                   "Could not save %1: the project would be %2 MiB; the limit is %3, the "
                   "largest project file that opens again. Nothing was written.")
            .arg(path, QString::number(static_cast<double>(bytes.size()) / (1 << 20), 'f', 1),
                 Text(SizeText(kMaxProteinProjectFileBytes)));
    }
    return SaveBytesAside(path, bytes);
}

}  // namespace veldorin
