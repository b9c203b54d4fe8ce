
VornName:Stars
VornFile:Stars.vrn
StepSize:260
VornsAcross:4
VornsDown:4
TotalVorns:16
VornPlacementMode:0
VornSelectionMode:0

