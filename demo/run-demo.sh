#!/usr/bin/env bash
echo "The demo is not wired up yet: build/bin/sqlupdate will run the upgrade once the run driver lands."
