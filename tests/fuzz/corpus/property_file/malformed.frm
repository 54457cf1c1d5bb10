Broken line without tabs
