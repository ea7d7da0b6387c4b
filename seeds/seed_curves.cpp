#include "seed_curves.h"

#include "array_conversions.h"
#include "array_elements.h"
#include "conversions.h"
#include "random_output.h"

namespace seeds {

struct CurveMaker::Engine {
    qev::RandomTable table;
    qev::SeededGenerator generator;
    qev::SeedCache lastSeed;
};

bool setByCaption(CurveSettings& s, const std::string& caption, float value) {
    struct Field {
        const char* caption;
        float CurveSettings::*field;
    };
    static constexpr Field kFields[] = {
        {"Scale", &CurveSettings::scale},          {"Offset", &CurveSettings::offset},
        {"Octaves", &CurveSettings::octaves},      {"Noise Min", &CurveSettings::noiseMin},
        {"Noise Max", &CurveSettings::noiseMax},   {"Fade", &CurveSettings::fade},
        {"Noise Bias", &CurveSettings::noiseBias}, {"Noise Gain", &CurveSettings::noiseGain},
        {"Output Min", &CurveSettings::outputMin}, {"Output Max", &CurveSettings::outputMax},
        {"Array Size", &CurveSettings::arraySize},
    };
    for (const auto& f : kFields) {
        if (caption == f.caption) {
            s.*f.field = value;
            return true;
        }
    }
    return false;
}

std::vector<double> curvePositions(const CurveSettings& settings) {
    std::vector<double> positions;
    if (settings.module == SeedModule::Random) {
        positions.assign(settings.inputs.begin(), settings.inputs.end());
    } else {
        const int32_t count = qev::arrayCountFromValue(settings.arraySize);
        for (int32_t i = 0; i < count; ++i) positions.push_back(i);
    }
    return positions;
}

CurveMaker::CurveMaker(CurveSettings settings)
    : settings_(std::move(settings)), engine_(std::make_unique<Engine>()) {
    const std::size_t count = curvePositions(settings_).size();
    values_.resize(count);
    integers_.resize(count);
}

CurveMaker::~CurveMaker() = default;

const std::vector<float>& CurveMaker::curve(float seed) {
    Engine& e = *engine_;
    e.table.reseed(qev::seedFromValue(seed), e.generator, e.lastSeed);
    const CurveSettings& s = settings_;
    if (s.module == SeedModule::Random) {
        qev::RandomSettings r;
        r.octaves = s.octaves;
        r.noiseBias = s.noiseBias;
        r.noiseGain = s.noiseGain;
        r.noiseMin = s.noiseMin;
        r.noiseMax = s.noiseMax;
        r.fade = s.fade;
        r.scale = s.scale;
        r.offset = s.offset;
        r.outputMin = s.outputMin;
        r.outputMax = s.outputMax;
        qev::randomOutputs(s.inputs.data(), static_cast<int32_t>(s.inputs.size()), r, e.table,
                           values_.data());
        return values_;
    }
    qev::ArraySettings a;
    a.offset = s.offset;
    a.scale = s.scale;
    a.octaves = s.octaves;
    a.noiseMin = s.noiseMin;
    a.noiseMax = s.noiseMax;
    a.fade = s.fade;
    a.noiseBias = s.noiseBias;
    a.noiseGain = s.noiseGain;
    a.outputMin = s.outputMin;
    a.outputMax = s.outputMax;
    const qev::ArrayElements elements(a);
    const int32_t count = static_cast<int32_t>(values_.size());
    constexpr int32_t kBlock = qev::ArrayElements::kBlockSize;
    for (int32_t first = 0; first < count; first += kBlock) {
        const int32_t n = count - first < kBlock ? count - first : kBlock;
        elements.compute(e.table, first, n, values_.data() + first, integers_.data() + first);
    }
    return values_;
}

}  // namespace seeds
