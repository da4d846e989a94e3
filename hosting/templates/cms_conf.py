# CMS's options for this task that Polygon's format cannot hold: the score
# type of the groups (CMS's Polygon loader would give every test an equal share).
datasets = {"tests": {"score_type": "@score_type@", "score_type_parameters": @parameters@}}
