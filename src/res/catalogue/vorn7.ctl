
VornName:Snowflakes
VornFile:Snowflakes.vrn
StepSize:250
VornsAcross:4
VornsDown:3
TotalVorns:12
VornPlacementMode:0
VornSelectionMode:0

