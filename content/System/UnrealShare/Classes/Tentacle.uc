//=============================================================================
// Tentacle: Hangs from the ceiling, spits at whatever passes and lashes what comes close.
//=============================================================================
class Tentacle expands ScriptedPawn;

#exec MESH IMPORT MESH=Tentacle1 ANIVFILE=MODELS\Tentacle1_a.3d DATAFILE=MODELS\Tentacle1_d.3d
#exec MESH ORIGIN MESH=Tentacle1 X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Waver STARTFRAME=1 NUMFRAMES=20 RATE=10
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Move2 STARTFRAME=21 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Shoot STARTFRAME=33 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Smack STARTFRAME=45 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=Tentacle1 SEQ=Dead2 STARTFRAME=57 NUMFRAMES=16 RATE=10
#exec MESH NOTIFY MESH=Tentacle1 SEQ=Shoot TIME=0.5 FUNCTION=ShootTarget
#exec MESH NOTIFY MESH=Tentacle1 SEQ=Smack TIME=0.6 FUNCTION=SmackTarget
#exec MESHMAP SCALE MESHMAP=Tentacle1 X=0.1 Y=0.1 Z=0.2
#exec MESHMAP SETTEXTURE MESHMAP=Tentacle1 NUM=0 TEXTURE=UnrealShare.Skins.JTentacle1

defaultproperties
{
	Health=60
	CollisionRadius=26.000000
	CollisionHeight=40.000000
	Mesh=LodMesh'UnrealShare.Tentacle1'
	RangedProjectile=Class'UnrealShare.TentacleProjectile'
	Acquire=Sound'UnrealShare.Tentacle.TentacleAcquire'
	HitSound1=Sound'UnrealShare.Tentacle.TentacleHit'
	Die=Sound'UnrealShare.Tentacle.TentacleDie'
}
