// The curve of one seed under fixed settings: Qev Random's "Output" for each input, or Qev
// RandomArray's "Float Out". Computed by the modules' own code (random_output.h,
// array_elements.h) on a table rebuilt for each seed, so every value is the plug-in's, bit for
// bit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace seeds {

enum class SeedModule { Random, Array };

// The values of the module's settings, as the host would hand them over. Qev Random runs one
// block per input; Qev RandomArray computes "Array Size" elements.
struct CurveSettings {
    SeedModule module = SeedModule::Random;
    float scale = 1, offset = 0, octaves = 1, noiseMin = -1, noiseMax = 1, fade = 0;
    float noiseBias = 0.5f, noiseGain = 0.5f, outputMin = 0, outputMax = 1, arraySize = 16;
    std::vector<float> inputs;
};

// Sets the setting of that caption (as the modules name it); false for any other caption,
// "Random Seed" and "Mode" included (the search sets the seed, and the array's values do not
// depend on its mode).
bool setByCaption(CurveSettings& settings, const std::string& caption, float value);

// Where each value of a curve lies along its x axis: the inputs, or the element indices.
std::vector<double> curvePositions(const CurveSettings& settings);

class CurveMaker {
  public:
    explicit CurveMaker(CurveSettings settings);
    ~CurveMaker();
    CurveMaker(const CurveMaker&) = delete;
    CurveMaker& operator=(const CurveMaker&) = delete;

    const CurveSettings& settings() const { return settings_; }
    // The curve for the seed that "Random Seed" = seed gives; valid until the next call.
    const std::vector<float>& curve(float seed);

  private:
    struct Engine;
    CurveSettings settings_;
    std::unique_ptr<Engine> engine_;
    std::vector<float> values_;
    std::vector<float> integers_;
};

}  // namespace seeds
