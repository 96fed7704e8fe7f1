#include "program/run_conditions.hpp"

#include "platform/program_path.hpp"
#include "program/conditions_file.hpp"

void load_run_conditions(const std::string& path, GameSetup& setup, ColourScheme& colours) {
    setup.record = load_conditions(path);
    validate_conditions(setup);
    colours = validate_loaded_scheme(setup.record.standard_attribute, setup.record.emphasized_attribute);
}

void load_run_conditions(App& app) {
    app.conditions_path = directory_of(app.program_path) + kConditionsFileName;
    load_run_conditions(app.conditions_path, app.setup, app.colours);
}

ConditionsRecord save_run_conditions(const std::string& path, GameSetup& setup,
                                     const ColourScheme& colours) {
    setup.record.vacant_signs = setup.saved_vacant;
    const ConditionsRecord saved = record_to_save(setup, colours.standard, colours.emphasized);
    save_conditions(path, saved);
    return saved;
}

void save_run_conditions(App& app) { save_run_conditions(app.conditions_path, app.setup, app.colours); }
