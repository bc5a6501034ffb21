#pragma once

#include "core/ModelCatalogue.h"

#include <cstdint>

namespace setfolio {

class Settings;

// The model every exchange with the processor is made for. The family and the slow-switch flag
// always follow the model type.
class CurrentModel {
public:
    explicit CurrentModel(const Settings& settings) : m_settings(settings) {}

    // Takes the stored model type as it is, defined or not (an undefined one gives NoFamily).
    void LoadCurrentModel();
    // Makes the model on that line of the model list current and stores it at once. When the
    // setting cannot be written the WriteError propagates and the current model stays as it was,
    // so the model in use never differs from the one the settings file will give next time.
    void SelectModel(int line);

    // Makes a model current without storing it, for programs that keep no settings.
    void Use(std::int32_t modelType) { Become(modelType); }

    std::int32_t ModelType() const { return m_modelType; }
    ModelFamily Family() const { return m_family; }
    bool SlowLibrarySwitch() const { return m_slowLibrarySwitch; }
    const ModelQuirks& Quirks() const { return QuirksOf(m_modelType); }
    // The line of the model list to mark; -1 marks none.
    int ListLine() const { return ListLineOf(m_modelType); }

private:
    void Become(std::int32_t modelType);

    const Settings& m_settings;
    std::int32_t m_modelType = 0;
    ModelFamily m_family = FamilyOf(0);
    bool m_slowLibrarySwitch = setfolio::SlowLibrarySwitch(0);
};

} // namespace setfolio
