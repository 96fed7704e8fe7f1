#include "program/run_conditions.hpp"

#include "platform/user_folders.hpp"
#include "program/conditions_file.hpp"

void load_run_conditions(const std::string& path, GameSetup& setup, ColourScheme& colours) {
    setup.record = load_conditions(path);
    validate_conditions(setup);
    colours = validate_loaded_scheme(setup.record.standard_attribute, setup.record.emphasized_attribute);
}

void load_run_conditions(App& app) {
    const ConditionsPlace& place = app.conditions_place;
    load_run_conditions(entry_exists(place.own) ? place.own : place.starting, app.setup, app.colours);
}

ConditionsRecord save_run_conditions(const std::string& path, GameSetup& setup,
                                     const ColourScheme& colours) {
    setup.record.vacant_signs = setup.saved_vacant;
    const ConditionsRecord saved = record_to_save(setup, colours.standard, colours.emphasized);
    save_conditions(path, saved);
    return saved;
}

void save_run_conditions(App& app) {
    const ConditionsPlace& place = app.conditions_place;
    if (!place.folder_to_make.empty()) make_private_folders(place.folder_to_make);
    save_run_conditions(place.own, app.setup, app.colours);
}
