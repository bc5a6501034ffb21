#include "core/CurrentModel.h"

#include "core/Settings.h"

namespace setfolio {

void CurrentModel::LoadCurrentModel() {
    Become(m_settings.Read(keys::ModelNo));
}

void CurrentModel::SelectModel(int line) {
    const std::int32_t modelType = ModelOfListLine(line);
    m_settings.Write(keys::ModelNo, modelType);
    Become(modelType);
}

void CurrentModel::Become(std::int32_t modelType) {
    m_modelType = modelType;
    m_family = FamilyOf(modelType);
    m_slowLibrarySwitch = setfolio::SlowLibrarySwitch(modelType);
}

} // namespace setfolio
