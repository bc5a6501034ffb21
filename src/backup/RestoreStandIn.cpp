// Stands in for the restore (Restore.h) in builds that do not have its implementation yet: the
// plant window's restore, verify and history refuse with a plain reason instead of failing to
// link. Replaced by backup/Restore.cpp.
#include "backup/Restore.h"

namespace setfolio {

namespace {

constexpr const char* NotBuilt = "restore is not part of this build";

} // namespace

std::unique_ptr<BackupSource> FolderBackup(std::string) {
    return nullptr;
}

GitBackupOpening GitRevisionBackup(std::string, std::string, GitRunner) {
    return {nullptr, NotBuilt};
}

Inventory RestorePlan::Runnable() const {
    return {};
}

RestorePlan PlanRestore(const Inventory&, const BackupSource&, const RestoreChoice&) {
    RestorePlan plan;
    plan.problems.push_back(NotBuilt);
    return plan;
}

PlantBackup::Job RestoreJob(PlantBackup::PlatformFactory, const RestorePlan&, bool,
                            const SiteVocabulary*, std::string) {
    return [](const InventoryProcessor& processor, const BackupJob::Progress&,
              const std::function<bool()>&) {
        ProcessorBackup result;
        result.name = processor.name;
        result.failure = NotBuilt;
        return result;
    };
}

} // namespace setfolio
