-- Schema hydro: the tables shared by the models of the family (projects,
-- scenarios, geographic entities), the read-only reference tables and this
-- model's wn_ tables. Every statement may run again on an existing schema.
--
-- Deletion rules: deleting a project removes its scenarios; deleting a
-- scenarios row removes its wn_scenarios row; deleting a wn_scenarios row
-- (clearing a scenario) removes its water users, groups and all rows below
-- them, and a trigger removes the gentities row of every deleted water user.
-- So a database that is saved to every day keeps only what is still listed,
-- plus the scenarios rows of cleared versions.

CREATE SCHEMA IF NOT EXISTS hydro;
SET search_path TO hydro, public;

-- Shared tables --------------------------------------------------------------

CREATE TABLE IF NOT EXISTS models (
    id integer PRIMARY KEY,
    descr text NOT NULL DEFAULT ''
);

CREATE SEQUENCE IF NOT EXISTS projects_id;
CREATE TABLE IF NOT EXISTS projects (
    id integer PRIMARY KEY,
    model integer REFERENCES models (id),
    descr text NOT NULL DEFAULT '',
    descr_en text NOT NULL DEFAULT '',
    short_descr text NOT NULL DEFAULT '',
    short_descr_en text NOT NULL DEFAULT '',
    creator text NOT NULL DEFAULT '',
    creation_date timestamp NOT NULL DEFAULT localtimestamp,
    report text NOT NULL DEFAULT '',
    report_en text NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS projects_model_idx ON projects (model);

CREATE SEQUENCE IF NOT EXISTS scenarios_id;
CREATE TABLE IF NOT EXISTS scenarios (
    id integer PRIMARY KEY,
    project integer NOT NULL REFERENCES projects (id) ON DELETE CASCADE,
    parent integer REFERENCES scenarios (id) ON DELETE SET NULL,
    descr text NOT NULL DEFAULT '',
    descr_en text NOT NULL DEFAULT '',
    short_descr text NOT NULL DEFAULT '',
    short_descr_en text NOT NULL DEFAULT '',
    last_user text NOT NULL DEFAULT '',
    last_date timestamp NOT NULL DEFAULT localtimestamp,
    model_version text NOT NULL DEFAULT '',
    report text NOT NULL DEFAULT '',
    report_en text NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS scenarios_project_idx ON scenarios (project);
CREATE INDEX IF NOT EXISTS scenarios_parent_idx ON scenarios (parent);

CREATE SEQUENCE IF NOT EXISTS gentities_id;
CREATE TABLE IF NOT EXISTS gentities (
    id integer PRIMARY KEY,
    name text NOT NULL DEFAULT '',
    descr text NOT NULL DEFAULT '',
    terminal_subtable text NOT NULL DEFAULT ''
);

CREATE TABLE IF NOT EXISTS gentities_scenarios (
    gentity integer NOT NULL REFERENCES gentities (id) ON DELETE CASCADE,
    scenario integer NOT NULL REFERENCES scenarios (id) ON DELETE CASCADE,
    PRIMARY KEY (gentity, scenario)
);
CREATE INDEX IF NOT EXISTS gentities_scenarios_scenario_idx ON gentities_scenarios (scenario);

-- Reference tables ------------------------------------------------------------

CREATE TABLE IF NOT EXISTS industrial_branch (
    id integer PRIMARY KEY,
    short_descr text NOT NULL
);

CREATE TABLE IF NOT EXISTS wn_industrial_branch (
    id integer PRIMARY KEY REFERENCES industrial_branch (id) ON DELETE CASCADE
);

CREATE TABLE IF NOT EXISTS water_needs_industrial_branch (
    ind_branch integer NOT NULL REFERENCES industrial_branch (id) ON DELETE CASCADE,
    num integer NOT NULL CHECK (num BETWEEN 1 AND 12),
    water_infl double precision NOT NULL,
    water_cons double precision NOT NULL,
    water_outfl double precision NOT NULL,
    PRIMARY KEY (ind_branch, num)
);

CREATE TABLE IF NOT EXISTS animals (
    id integer PRIMARY KEY,
    name text NOT NULL
);

CREATE TABLE IF NOT EXISTS water_needs_animals (
    animal integer NOT NULL REFERENCES animals (id) ON DELETE CASCADE,
    num integer NOT NULL CHECK (num BETWEEN 1 AND 12),
    water_cons double precision NOT NULL,
    PRIMARY KEY (animal, num)
);

CREATE TABLE IF NOT EXISTS crops (
    id integer PRIMARY KEY,
    name text NOT NULL
);

CREATE TABLE IF NOT EXISTS crop_coefficients (
    crop integer NOT NULL REFERENCES crops (id) ON DELETE CASCADE,
    num_val integer NOT NULL CHECK (num_val BETWEEN 1 AND 5),
    x double precision NOT NULL,
    y double precision NOT NULL,
    PRIMARY KEY (crop, num_val)
);

CREATE TABLE IF NOT EXISTS wn_irrig_data_types (
    id integer PRIMARY KEY,
    descr text NOT NULL
);

-- This model's tables ---------------------------------------------------------

CREATE TABLE IF NOT EXISTS wn_scenarios (
    id integer PRIMARY KEY REFERENCES scenarios (id) ON DELETE CASCADE
);

CREATE TABLE IF NOT EXISTS wn_water_users (
    id integer PRIMARY KEY REFERENCES gentities (id) ON DELETE CASCADE,
    scenario integer NOT NULL REFERENCES wn_scenarios (id) ON DELETE CASCADE,
    num integer NOT NULL,
    type integer NOT NULL
);
CREATE INDEX IF NOT EXISTS wn_water_users_scenario_idx ON wn_water_users (scenario);

CREATE SEQUENCE IF NOT EXISTS wn_urban_areas_id;
CREATE TABLE IF NOT EXISTS wn_urban_areas (
    id integer PRIMARY KEY,
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    population integer NOT NULL
);
CREATE INDEX IF NOT EXISTS wn_urban_areas_water_user_idx ON wn_urban_areas (water_user);

CREATE TABLE IF NOT EXISTS wn_urban_area_water_needs (
    urban_area integer NOT NULL REFERENCES wn_urban_areas (id) ON DELETE CASCADE,
    num integer NOT NULL,
    value double precision NOT NULL,
    PRIMARY KEY (urban_area, num)
);

CREATE SEQUENCE IF NOT EXISTS wn_farms_animals_id;
CREATE TABLE IF NOT EXISTS wn_farms_animals (
    id integer PRIMARY KEY,
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    animal integer NOT NULL,
    population integer NOT NULL
);
CREATE INDEX IF NOT EXISTS wn_farms_animals_water_user_idx ON wn_farms_animals (water_user);

CREATE TABLE IF NOT EXISTS wn_farm_animal_water_needs (
    animal integer NOT NULL REFERENCES wn_farms_animals (id) ON DELETE CASCADE,
    num integer NOT NULL,
    value double precision NOT NULL,
    PRIMARY KEY (animal, num)
);

CREATE SEQUENCE IF NOT EXISTS wn_industries_id;
CREATE TABLE IF NOT EXISTS wn_industries (
    id integer PRIMARY KEY,
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    ind_branch integer NOT NULL,
    units integer NOT NULL
);
CREATE INDEX IF NOT EXISTS wn_industries_water_user_idx ON wn_industries (water_user);

CREATE TABLE IF NOT EXISTS wn_industry_water_needs (
    industry integer NOT NULL REFERENCES wn_industries (id) ON DELETE CASCADE,
    num integer NOT NULL,
    water_infl_value double precision NOT NULL,
    water_cons_value double precision NOT NULL,
    water_outfl_value double precision NOT NULL,
    PRIMARY KEY (industry, num)
);

CREATE SEQUENCE IF NOT EXISTS wn_irrig_areas_crops_id;
CREATE TABLE IF NOT EXISTS wn_irrig_areas_crops (
    id integer PRIMARY KEY,
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    crop integer NOT NULL,
    area integer NOT NULL,
    semination_day integer NOT NULL,
    calc_method integer NOT NULL,
    altitude double precision NOT NULL,
    latitude double precision NOT NULL
);
CREATE INDEX IF NOT EXISTS wn_irrig_areas_crops_water_user_idx ON wn_irrig_areas_crops (water_user);

CREATE TABLE IF NOT EXISTS wn_irrig_area_crop_water_needs (
    crop integer NOT NULL REFERENCES wn_irrig_areas_crops (id) ON DELETE CASCADE,
    num integer NOT NULL,
    num_val integer NOT NULL,
    x double precision NOT NULL,
    y double precision NOT NULL,
    PRIMARY KEY (crop, num_val)
);

CREATE TABLE IF NOT EXISTS wn_irrig_data (
    irrig_area integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    data_type integer NOT NULL REFERENCES wn_irrig_data_types (id),
    num integer NOT NULL,
    value double precision NOT NULL,
    PRIMARY KEY (irrig_area, data_type, num)
);

CREATE SEQUENCE IF NOT EXISTS wn_groups_id;
CREATE TABLE IF NOT EXISTS wn_groups (
    id integer PRIMARY KEY,
    scenario integer NOT NULL REFERENCES wn_scenarios (id) ON DELETE CASCADE,
    descr text NOT NULL DEFAULT '',
    short_descr text NOT NULL DEFAULT ''
);
CREATE INDEX IF NOT EXISTS wn_groups_scenario_idx ON wn_groups (scenario);

-- id keeps the members of a group in the order they were written.
CREATE TABLE IF NOT EXISTS wn_users_groups (
    id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    wn_group integer NOT NULL REFERENCES wn_groups (id) ON DELETE CASCADE,
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE
);
CREATE INDEX IF NOT EXISTS wn_users_groups_group_idx ON wn_users_groups (wn_group);
CREATE INDEX IF NOT EXISTS wn_users_groups_water_user_idx ON wn_users_groups (water_user);

CREATE TABLE IF NOT EXISTS wn_results (
    water_user integer NOT NULL REFERENCES wn_water_users (id) ON DELETE CASCADE,
    num integer NOT NULL,
    value double precision NOT NULL,
    unit integer NOT NULL,
    PRIMARY KEY (water_user, num)
);

-- A water user's gentities row goes with its wn_water_users row.
CREATE OR REPLACE FUNCTION wn_water_users_drop_gentities() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    DELETE FROM hydro.gentities g USING old_rows o WHERE g.id = o.id;
    RETURN NULL;
END
$$;

CREATE OR REPLACE TRIGGER wn_water_users_drop_gentities
    AFTER DELETE ON wn_water_users
    REFERENCING OLD TABLE AS old_rows
    FOR EACH STATEMENT EXECUTE FUNCTION wn_water_users_drop_gentities();
