#include "shell/run_conditions.hpp"

#include "platform/program_path.hpp"
#include "setup/conditions_file.hpp"

void load_run_conditions(App& app) {
    app.conditions_path = directory_of(app.program_path) + kConditionsFileName;
    app.setup.record = load_conditions(app.conditions_path);
    validate_conditions(app.setup);
    app.colours = validate_loaded_scheme(app.setup.record.standard_attribute,
                                         app.setup.record.emphasized_attribute);
}

void save_run_conditions(App& app) {
    app.setup.record.vacant_signs = app.setup.saved_vacant;
    save_conditions(app.conditions_path,
                    record_to_save(app.setup, app.colours.standard, app.colours.emphasized));
}
